#pragma once

#include <QString>

class Form1;

// Refreshes the account session every 121 seconds once the browser has shown
// a page, and puts scanning back into its running state at the same time.
class KeepAlive {
public:
    static constexpr qint16 TicksBetweenRefreshes = 121;

    explicit KeepAlive(Form1& window);

    void Timer2_Timer();

private:
    void refresh();

    Form1& m_window;
};
