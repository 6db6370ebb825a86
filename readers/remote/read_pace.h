// When a read is to pause or stop, asked before every question to another
// program. A program that answers slowly but steadily is never given up on by
// the system, so the caller's time is checked between questions, not only
// between the steps of a reader: a slice then ends after the first question
// past its budget, and the caller waits no longer than one question's timeout
// before it handles its input again. The first question of a slice is always
// asked, so that every slice moves the read on. The caller may also stop a
// read on demand (the command line's Ctrl+C): no question is asked after that.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

class ReadPace {
public:
    // `stopAsked` is called before every question, from the reading thread.
    explicit ReadPace(std::function<bool()> stopAsked = nullptr) : stopAsked(std::move(stopAsked)) {}

    // A slice of `budget` milliseconds from now; INFINITE for none.
    void StartSlice(DWORD budget);

    // True when the next question may be sent (and counts it); false once the
    // slice's time is up or a stop was asked.
    bool MayAsk();

    // True when the last MayAsk said no.
    bool Held() const { return held; }

private:
    std::function<bool()> stopAsked;
    DWORD start = 0;
    DWORD budget = INFINITE;
    unsigned asked = 0;
    bool held = false;
};
