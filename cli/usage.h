// What --help and --version print, and what follows a wrong command line.
#pragma once

#include <string>

std::wstring UsageText();
std::wstring VersionText();
