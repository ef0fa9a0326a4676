#include "session/KeepAlive.h"

#include "platform/TransferControl.h"
#include "ui/Form1.h"
#include "ui/StatusTexts.h"
#include "ui/TextBox.h"
#include "ui/WindowTimer.h"

KeepAlive::KeepAlive(Form1& window)
    : m_window(window)
{
}

void KeepAlive::Timer2_Timer()
{
    if (m_window.CurrentUrl.isEmpty())
        return;
    if (++m_window.RefreshTicks != TicksBetweenRefreshes)
        return;
    refresh();
}

void KeepAlive::refresh()
{
    m_window.Text1->setText(RefreshingStatus);
    m_window.Timer1->setEnabled(false);
    if (m_window.Inet2.StillExecuting())
        m_window.Inet2.Cancel();
    m_window.Inet2.Execute(m_window.endpoints().AccountRootUrl, QStringLiteral("get"));
    m_window.Text1->setText(ScanningStatus);
    // A home address in the page box also makes a waiting fetch give up.
    m_window.Text2->setText(m_window.endpoints().PersonalHomeUrl);
    m_window.Timer1->setEnabled(true);
    m_window.RefreshTicks = 0;
}
