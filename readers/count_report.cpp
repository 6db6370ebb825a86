#include "readers/count_report.h"

#include <cstdio>

std::string CountSentence(const CountReport& report)
{
    char sentence[128] = {};
    switch (report.problem) {
    case CountProblem::none:
        std::snprintf(sentence, sizeof(sentence), "%s contains %d items", report.kind, report.count);
        break;
    case CountProblem::noText:
        std::snprintf(sentence, sizeof(sentence), "%s contains %d items without text", report.kind,
                      report.count);
        break;
    case CountProblem::accessDenied:
        std::snprintf(sentence, sizeof(sentence), "%s: access denied (run Quarvel as administrator)",
                      report.kind);
        break;
    case CountProblem::protectedProcess:
        std::snprintf(sentence, sizeof(sentence), "%s: access denied (a protected program: no other may read it)",
                      report.kind);
        break;
    case CountProblem::needs64Bit:
        std::snprintf(sentence, sizeof(sentence), "%s of a 64-bit program: use the 64-bit Quarvel",
                      report.kind);
        break;
    case CountProblem::noMemory:
        std::snprintf(sentence, sizeof(sentence), "%s: no memory for reading in its program", report.kind);
        break;
    }
    return sentence;
}

bool IsAccessDenied(DWORD error)
{
    return error == ERROR_ACCESS_DENIED;
}

CountProblem ProblemOf(RemoteProblem problem)
{
    switch (problem) {
    case RemoteProblem::none:
        return CountProblem::none;
    case RemoteProblem::accessDenied:
        return CountProblem::accessDenied;
    case RemoteProblem::protectedProcess:
        return CountProblem::protectedProcess;
    case RemoteProblem::needs64Bit:
        return CountProblem::needs64Bit;
    case RemoteProblem::noMemory:
        return CountProblem::noMemory;
    }
    return CountProblem::noMemory;
}
