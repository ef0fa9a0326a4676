// SPDX-License-Identifier: GPL-3.0-or-later

#include "state/StatusTexts.h"

namespace {

// While a login is awaited: what the browser shows tells the owner what to do.
QString loginPrompt(BrowserNote note, const QString& beforeAnyPage)
{
    switch (note) {
    case BrowserNote::None:
        return beforeAnyPage;
    case BrowserNote::OtherPage:
        return LoginRequestStatus;
    case BrowserNote::LoadFailed:
        return LoadFailedStatus;
    }
    Q_UNREACHABLE();
}

} // namespace

QString statusText(ScanState state, Activity activity, BrowserNote note)
{
    switch (state) {
    case ScanState::WaitingForLogin:
        return loginPrompt(note, QString());
    case ScanState::SessionLost:
        return loginPrompt(note, SessionLostStatus);
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
