#pragma once

#include "platform/Platform.h"
#include "scan/ScanCycle.h"
#include "session/KeepAlive.h"
#include "session/PageTracking.h"
#include "ui/Endpoints.h"
#include "web/PageFetch.h"

#include <QWidget>

#include <array>
#include <optional>

class ClickableLabel;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TextBox;
class WindowTimer;

// The program's one window. Its controls and variables are the state through
// which the handlers of the scan, the browser session and the buttons steer
// one another, so they are reachable by their names.
class Form1 : public QWidget {
    Q_OBJECT

public:

    // Throws std::invalid_argument when the endpoints cannot be used.
    Form1(const Platform& platform, const Endpoints& endpoints, QWidget* parent = nullptr);
    ~Form1() override;

    const Endpoints& endpoints() const { return m_endpoints; }
    const Clock& clock() const { return m_platform.clock; }
    MessagePump& pump() { return m_platform.pump; }
    PageFetch& pageFetch() { return *m_pageFetch; }

    void Command1_Click();
    void Command2_Click();
    void Label10_Click();

    QGroupBox* Frame1;
    QGroupBox* Frame2;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label7;
    QLabel* Label8;
    ClickableLabel* Label10;
    QLabel* Label11;
    QLabel* Label12;
    QLabel* Label13;
    QComboBox* Combo1;
    QComboBox* Combo2;
    QComboBox* Combo3;
    // Status box: read by the scan as state.
    TextBox* Text1;
    // Page box: the browser's address, then the scan's result lines.
    TextBox* Text2;
    // Delivery URL.
    QPlainTextEdit* Text3;
    // Interface key.
    QLineEdit* Text4;
    QPushButton* Command1;
    QPushButton* Command2;
    WindowTimer* Timer1;
    WindowTimer* Timer2;
    BrowserControl& WebBrowser1;
    TransferControl& Inet1;
    TransferControl& Inet2;

    // Slot k holds the trade number last delivered from page position k;
    // slot 0 is unused.
    std::array<QString, 13> SentTradeNo;
    QString CurrentUrl;
    QString LinkUrl;
    qint16 RefreshTicks = 0;

private:
    void createControls();
    void placeControls();
    void Form_Load();
    void OpenInShell(const QString& address);

    const Platform m_platform;
    const Endpoints m_endpoints;
    // Built once the boxes it watches exist.
    std::optional<PageFetch> m_pageFetch;
    ScanCycle m_scanCycle;
    PageTracking m_pageTracking;
    KeepAlive m_keepAlive;
};
