// Reads an extended combo box of any program. Its items' texts are its own:
// the combo box inside it is drawn by it and holds no strings, so each text
// is asked of the extended control (CBEM_GETITEM), a step's worth at a time
// through one block in its program, as a list view's cells are.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "readers/item_reader.h"
#include "readers/read_limits.h"
#include "readers/remote/remote_control.h"

class ComboBoxExReader final : public ItemReader {
public:
    explicit ComboBoxExReader(HWND combo, UINT timeout = kListReplyTimeout, TimedSend send = &SendMessageTimeoutW);

    const char* Kind() const override { return "ComboBox"; }
    CountReport Count() override;
    bool ReadNext(ItemSink& sink) override;
    void SetPace(ReadPace* readPace) override;
    int Expected() const override { return expected < 0 ? 0 : expected; }
    int Handled() const override { return next; }

private:
    bool AskCount();
    bool AskItems(ItemSink& sink);
    bool End(ReadEnd end);

    RemoteControl combo;
    std::vector<unsigned char> records;
    std::vector<WPARAM> wParams;
    std::vector<std::wstring> texts;
    int expected = -1;  // not asked yet
    int next = 0;
    bool over = false;
};
