#include "readers/count_report.h"

#include "readers/read_limits.h"
#include "readers/remote/remote_control.h"

std::wstring KindName(const char* kind)
{
    std::wstring name;
    for (; kind && *kind; ++kind)
        name += static_cast<wchar_t>(static_cast<unsigned char>(*kind));
    return name;
}

std::wstring CountSentence(const CountReport& report)
{
    const std::wstring kind = KindName(report.kind);
    const std::wstring count = std::to_wstring(report.count);
    switch (report.problem) {
    case CountProblem::none:
        break;
    case CountProblem::noText:
        return kind + L" contains " + count + L" items without text";
    case CountProblem::accessDenied:
        return kind + L": access denied (run Quarvel as administrator)";
    case CountProblem::protectedProcess:
        return kind + L": access denied (a protected program: no other may read it)";
    case CountProblem::needs64Bit:
        return kind + L" of a 64-bit program: use the 64-bit Quarvel";
    case CountProblem::noMemory:
        return kind + L": no memory for reading in its program";
    }
    return kind + L" contains " + count + L" items";
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

CountReport RemoteCount(RemoteControl& control, const char* kind, UINT message)
{
    CountReport report;
    report.kind = kind;
    report.count = BelievableCount(control.AskCount(message));
    if (report.count < 0 && control.Failure() == RemoteFailure::denied)
        report.problem = CountProblem::accessDenied;
    else if (report.count >= 0 && IsWindow(control.Window()))
        report.problem = ProblemOf(control.Open());
    return report;
}
