// The contents box takes a read's text as its own: the text is moved into a
// block the box then keeps as its buffer (EM_SETHANDLE), instead of the box
// copying it while Quarvel still holds it. A long list then costs its text
// once, not twice, when it is shown.
#pragma once

#include <windows.h>

#include "readers/gathered_text.h"

// `box` is a multiline edit control of this process. The text is moved
// (empty afterwards); false, with the text and the box as they were, when
// no block could be had.
bool FillContentsBox(HWND box, GatheredText& text);
