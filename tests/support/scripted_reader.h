// A reader whose steps the test writes: a few numbered items, each step as
// slow as asked, and a step that throws or calls back into the read.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <new>
#include <string>

#include "readers/item_reader.h"

namespace list_test {

class ScriptedReader final : public ItemReader {
public:
    struct Script {
        int items = 6;
        int throwAt = -1;   // the step that throws std::bad_alloc
        DWORD stepMs = 0;   // how long each step takes
        std::function<void(int step)> duringStep;
    };

    explicit ScriptedReader(Script script) : script(std::move(script)) { ++alive; }
    ~ScriptedReader() override { --alive; }

    const char* Kind() const override { return "ListBox"; }
    CountReport Count() override { return CountReport{Kind(), script.items, CountProblem::none}; }
    int Expected() const override { return script.items; }
    int Handled() const override { return next; }

    bool ReadNext(ItemSink& sink) override
    {
        if (next == script.throwAt)
            throw std::bad_alloc();
        if (script.stepMs)
            Sleep(script.stepMs);
        if (script.duringStep)
            script.duringStep(next);
        sink.Item(L"item " + std::to_wstring(next));
        return ++next < script.items;
    }

    // Readers in existence: one that is not given back holds its block in
    // the other program.
    static inline int alive = 0;

private:
    Script script;
    int next = 0;
};

}  // namespace list_test
