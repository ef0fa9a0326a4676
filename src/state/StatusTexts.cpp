// SPDX-License-Identifier: GPL-3.0-or-later

#include "state/StatusTexts.h"

QString statusText(ScanState state, Activity activity, BrowserNote note)
{
    switch (state) {
    case ScanState::WaitingForLogin:
    case ScanState::SessionLost:
        // While a login is awaited: what the browser shows tells the owner what to do.
        if (note == BrowserNote::OtherPage)
            return LoginRequestStatus;
        if (note == BrowserNote::LoadFailed)
            return LoadFailedStatus;
        return state == ScanState::SessionLost ? SessionLostStatus : QString();
    case ScanState::Stopped:
        return StoppedStatus;
    case ScanState::IntervalInvalid:
        return IntervalInvalidStatus;
    case ScanState::Scanning:
        break;
    }
    switch (activity) {
    case Activity::Idle:
        return ScanningStatus;
    case Activity::Fetching:
        return FetchingStatus;
    case Activity::Refreshing:
        return RefreshingStatus;
    }
    Q_UNREACHABLE();
}
