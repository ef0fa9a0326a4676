#include "session/PageTracking.h"

#include "platform/BrowserControl.h"
#include "ui/Form1.h"
#include "ui/SettingValues.h"
#include "ui/StatusTexts.h"
#include "ui/TextBox.h"
#include "ui/WindowTimer.h"

#include <QComboBox>
#include <QPushButton>

PageTracking::PageTracking(Form1& window)
    : m_window(window)
{
}

void PageTracking::WebBrowser1_StatusTextChange(const QString& text)
{
    m_window.LinkUrl = text;
}

void PageTracking::WebBrowser1_NewWindow2(const QString& requestedAddress, bool& cancel)
{
    // Everything stays in the one embedded browser. The hovered link is only
    // a guess at the address, for when the engine does not name it.
    cancel = true;
    m_window.WebBrowser1.Navigate(requestedAddress.isEmpty() ? m_window.LinkUrl : requestedAddress);
}

void PageTracking::WebBrowser1_DocumentComplete()
{
    // The top-level address decides, whichever frame completed.
    const QString address = m_window.WebBrowser1.LocationURL();
    m_window.Text2->setText(address.left(Endpoints::HomePrefixLength));
    m_window.CurrentUrl = address;

    if (!m_window.endpoints().homePagePrefixes().contains(m_window.Text2->text())) {
        m_window.Text1->setText(LoginRequestStatus);
        return;
    }

    m_window.Text2->show();
    m_window.Timer1->setEnabled(true);
    m_window.Timer1->setInterval(scanIntervalMilliseconds(m_window.Combo1->currentText()));
    m_window.Command2->show();
    m_window.Command1->hide();
    m_window.Text1->setText(ScanningStatus);
}
