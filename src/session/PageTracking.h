#pragma once

#include <QString>

class Form1;

// Watches where the embedded browser is. A completed home page means the
// user is logged in, and scanning starts; any other page asks for a login.
class PageTracking {
public:

    explicit PageTracking(Form1& window);

    void WebBrowser1_StatusTextChange(const QString& text);
    void WebBrowser1_NewWindow2(const QString& requestedAddress, bool& cancel);
    void WebBrowser1_DocumentComplete();

private:
    Form1& m_window;
};
