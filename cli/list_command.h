// --list: the controls a script can name, one line each, so that a handle can
// be found without the dialog.
#pragma once

#include "cli/arguments.h"
#include "cli/outcome.h"

// For every readable control of the visible top-level windows whose title
// holds request.title: its handle, kind, item count ("-" when it gives none),
// class name and top-level title, separated by TAB, quoted as the dialog
// quotes a field. kExitNotFound when there is none.
Outcome ListControls(const Request& request);
