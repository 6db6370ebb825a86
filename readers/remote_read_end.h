// How a read of a list view or tree view ends when its control's program
// stops it: the remote questions' failure as the reader reports it.
#pragma once

#include "readers/item_reader.h"
#include "readers/remote/remote_control.h"

inline ReadEnd EndAfter(RemoteFailure failure)
{
    switch (failure) {
    case RemoteFailure::denied:
        return ReadEnd::refused;
    case RemoteFailure::outOfReach:
        return ReadEnd::needs64Bit;
    case RemoteFailure::none:
    case RemoteFailure::silent:
        break;
    }
    return ReadEnd::silent;
}
