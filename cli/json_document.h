// The contents as one JSON object: the control (its handle as the dialog
// shows it, its class name, its kind), the number of items read, a report
// view's column titles, and the items in the control's own shape: strings
// for a list, arrays of cells for a report view's rows, and objects with
// their children for a tree.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "readers/item_reader.h"

// The text as a JSON string. A lone half of a surrogate pair is escaped, so
// that a parser gives back exactly the UTF-16 the control holds, whatever
// the encoding the document is written in.
void AppendJsonString(std::wstring& json, const std::wstring& text);

struct ControlFacts {
    std::wstring window;
    std::wstring className;
    std::wstring kind;
};

class JsonDocument final : public ItemSink {
public:
    void Header(const std::vector<std::wstring>& titles) override;
    void Item(const std::wstring& text) override;
    void Row(const std::wstring* cells, std::size_t count) override;
    void TreeItem(std::size_t depth, const std::wstring& text) override;

    // The whole object, on one line ending in CR LF.
    std::wstring Document(const ControlFacts& control) const;

private:
    void NextItem();

    std::wstring columns;  // empty outside report view
    std::wstring items;
    std::size_t count = 0;
    // Tree items whose children are still open, and whether the innermost
    // open array (the items' own when none is) holds nothing yet.
    std::size_t openItems = 0;
    bool arrayEmpty = true;
};
