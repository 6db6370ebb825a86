// The contents text of a list: every item followed by CR LF, built in one
// growing buffer so that the time and memory grow with the text, not with its
// square.
#pragma once

#include <functional>
#include <string>

// What reading one item gave.
enum class ItemStatus {
    text,     // the item's text was read
    missing,  // the list reported an error for this index: nothing to show
    failed,   // no answer: the walk ends here
};

// Fills `item` with the text of the item at `index` when it returns text.
using ItemSource = std::function<ItemStatus(int index, std::wstring& item)>;

// Adds what reading one item gave to the text: its line, or nothing for a
// missing item. False when the walk ends here.
bool AppendItem(ItemStatus status, const std::wstring& item, std::wstring& joined);

// Items 0 to count - 1 in order; a count below 1 gives empty text, and a
// failed item ends the text after the items before it.
std::wstring JoinListItems(int count, const ItemSource& readItem);
