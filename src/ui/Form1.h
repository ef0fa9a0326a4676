// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

class AccountWatch;
class ClickableLabel;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class SleepPicture;
class TextBox;
class WindowState;

// The program's one window. Its controls show the shared state of the watch
// and write what the owner types into it at once; they keep their designer
// names, by which the owner's notes and automation find them.
class Form1 : public QWidget {
    Q_OBJECT

public:
    // `browserView` is the embedded browser's view, placed in the window but
    // not owned by it.
    Form1(AccountWatch& watch, QWidget* browserView, QWidget* parent = nullptr);
    ~Form1() override;

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
    // Scan interval, record count, shop charset.
    QComboBox* Combo1;
    QComboBox* Combo2;
    QComboBox* Combo3;
    // Status box.
    TextBox* Text1;
    // Page box.
    TextBox* Text2;
    // Delivery URL.
    QPlainTextEdit* Text3;
    // Interface key.
    QLineEdit* Text4;
    QPushButton* Command1;
    QPushButton* Command2;
    QWidget* WebBrowser1;
    // In the browser's place while it sleeps.
    SleepPicture* Picture1;

private:
    void createControls();
    void placeControls();
    void bindToState();
    // The key box warns while it holds the public default key.
    void showWhetherTheKeyIsPublic();
    void Form_Load();
    void showBrowserAsleep(bool asleep);
    void OpenInShell(const QString& address);

    AccountWatch& m_watch;
    WindowState& m_state;
};
