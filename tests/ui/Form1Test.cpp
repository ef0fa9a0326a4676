// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakes/FakeWindow.h"
#include "support/TestRegistry.h"
#include "ui/CaptionFit.h"
#include "ui/ClickableLabel.h"
#include "ui/TextBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

QStringList items(const QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->itemText(i));
    return texts;
}

struct Arrangement {
    bool startVisible;
    bool startEnabled;
    bool stopVisible;
};

Arrangement arrangementOf(const Form1& window)
{
    return {window.Command1->isVisibleTo(&window), window.Command1->isEnabled(),
            window.Command2->isVisibleTo(&window)};
}

void verifyArrangement(const Form1& window, Arrangement expected)
{
    const Arrangement actual = arrangementOf(window);
    QCOMPARE(actual.startVisible, expected.startVisible);
    QCOMPARE(actual.startEnabled, expected.startEnabled);
    QCOMPARE(actual.stopVisible, expected.stopVisible);
}

// The pixels the text of a label like `label`, at `height`, paints.
qsizetype inkOf(const QLabel& label, int height)
{
    QLabel copy(label.text());
    copy.setFont(label.font());
    copy.setAlignment(label.alignment());
    copy.setWordWrap(label.wordWrap());
    copy.setIndent(label.indent());
    copy.setMargin(label.margin());
    copy.setContentsMargins(label.contentsMargins());
    copy.resize(label.width(), height);
    QImage image(copy.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    copy.render(&image, {}, {}, QWidget::DrawChildren);
    // 32-bit lines are never padded: the pixels follow one another.
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
    return std::count_if(pixels, pixels + image.width() * image.height(),
                         [](QRgb pixel) { return qAlpha(pixel); });
}

// Whether `label` draws all of its text: in its own box it paints every
// pixel the same text paints with room to spare. Line boxes may overhang
// the label where their empty top and bottom are all that is lost.
bool isWhole(const QLabel& label)
{
    const int room = label.height() + 4 * label.fontMetrics().lineSpacing();
    return inkOf(label, label.height()) == inkOf(label, room);
}

// WCAG's contrast ratio of two colours.
double contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

} // namespace

class Form1Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startsWaitingForTheFirstPage()
    {
        FakeWindow w;
        const Form1& form = w.window;
        QCOMPARE(form.windowTitle(), QStringLiteral("TollwickV3.5"));
        verifyArrangement(form, {true, false, false});
        QVERIFY(!form.Text2->isVisibleTo(&form));
        QVERIFY(!form.Text1->isEnabled());
        QVERIFY(!form.Text2->isEnabled());
        QCOMPARE(form.Text1->toPlainText(), QString());
        QVERIFY(!w.watch.Timer1->Enabled());
        QCOMPARE(w.watch.Timer1->Interval(), 0);
        QVERIFY(w.watch.Timer2->Enabled());
        QCOMPARE(w.watch.Timer2->Interval(), 1000);
        QCOMPARE(form.Text3->toPlainText(), QStringLiteral("http://localhost/notify.php"));
        QCOMPARE(form.Text4->text(), QStringLiteral("dembro"));
        // The key everybody knows is marked, in colour only.
        QVERIFY(form.Text4->palette().color(QPalette::Text) !=
                form.palette().color(QPalette::Text));
        QCOMPARE(form.Text4->toolTip(), QStringLiteral("dembro 是公开的默认密钥，请换成您自己的"));
        QCOMPARE(form.Frame1->title(), QStringLiteral("系统配置"));
        QCOMPARE(form.Frame2->title(), QStringLiteral("基本信息"));
        QCOMPARE(form.Command1->text(), QStringLiteral("开始扫描"));
        QCOMPARE(form.Command2->text(), QStringLiteral("停止扫描"));
        // Loading ends by sending the browser to the home page.
        QCOMPARE(w.fake.browser.navigations, QStringList{Endpoints::service().PersonalHomeUrl});
        // Text4 belongs to the window and is drawn above the settings frame.
        QCOMPARE(form.Text4->parentWidget(), &form);
        QVERIFY(form.children().indexOf(form.Text4) > form.children().indexOf(form.Frame1));
        QCOMPARE(form.Command1->geometry(), form.Command2->geometry());
    }

    void listsHoldTheirItemsAndShowTheirInitialTexts()
    {
        FakeWindow w;
        QCOMPARE(items(w.window.Combo1), (QStringList{"20", "30", "40", "50", "60", "70"}));
        QCOMPARE(items(w.window.Combo2),
                 (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
        QCOMPARE(items(w.window.Combo3), (QStringList{"gb2312", "utf-8"}));
        QCOMPARE(w.window.Combo1->currentText(), QStringLiteral("20"));
        QCOMPARE(w.window.Combo2->currentText(), QStringLiteral("1"));
        QCOMPARE(w.window.Combo3->currentText(), QStringLiteral("gb2312"));
    }

    void typedValuesAreKeptAsTyped()
    {
        FakeWindow w;
        w.window.show();
        w.window.Combo1->lineEdit()->selectAll();
        QTest::keyClicks(w.window.Combo1->lineEdit(), "15");
        QTest::keyClick(w.window.Combo1->lineEdit(), Qt::Key_Return);
        QCOMPARE(w.window.Combo1->currentText(), QStringLiteral("15"));
        QCOMPARE(w.window.Combo1->count(), 6);
        w.logIn();
        QCOMPARE(w.watch.Timer1->Interval(), 15000);

        w.window.Text3->clear();
        QTest::keyClicks(w.window.Text3, "http://shop/a");
        QTest::keyClick(w.window.Text3, Qt::Key_Return);
        QTest::keyClicks(w.window.Text3, "b");
        QCOMPARE(w.window.Text3->toPlainText(), QStringLiteral("http://shop/a\nb"));
    }

    // Typed as a user types: with focus, key by key, through the completion
    // the lists offer and the Tab key the address box would swallow.
    void settingsHoldExactlyWhatIsTyped_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("typed");
        QTest::newRow("interval") << "Combo1"
                                  << "5";
        QTest::newRow("records") << "Combo2"
                                 << "1";
        QTest::newRow("charset") << "Combo3"
                                 << "UTF";
    }

    void settingsHoldExactlyWhatIsTyped()
    {
        QFETCH(QString, list);
        QFETCH(QString, typed);
        FakeWindow w;
        w.window.show();
        QApplication::setActiveWindow(&w.window);
        auto* combo = w.window.findChild<QComboBox*>(list);
        combo->setFocus();
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo, typed);
        QCOMPARE(combo->currentText(), typed);
        QTest::keyClick(combo, Qt::Key_Tab);
        QCOMPARE(combo->currentText(), typed);

        // Picking from the drop-down still sets the text.
        combo->showPopup();
        QAbstractItemView* items = combo->view();
        const QModelIndex last = items->model()->index(combo->count() - 1, 0);
        QTest::mouseClick(items->viewport(), Qt::LeftButton, {}, items->visualRect(last).center());
        QCOMPARE(combo->currentText(), last.data().toString());
    }

    void tabLeavesTheDeliveryAddress()
    {
        FakeWindow w;
        w.window.show();
        QApplication::setActiveWindow(&w.window);
        w.window.Text3->setFocus();
        QTest::keyClick(w.window.Text3, Qt::Key_Tab);
        QCOMPARE(w.window.Text3->toPlainText(), QStringLiteral("http://localhost/notify.php"));
        QCOMPARE(QApplication::focusWidget(), w.window.Combo2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), w.window.Combo1);
    }

    // The layout was drawn for SimSun; machines without it substitute a face
    // whose lines are taller, which cut off the last line of a caption.
    void everyCaptionIsWholeWithEveryInstalledFace()
    {
        FakeWindow w;
        const QList<QLabel*> labels = w.window.findChildren<QLabel*>();
        for (const QLabel* label : labels)
            QVERIFY2(isWhole(*label), qPrintable(label->objectName()));

        QStringList faces = w.window.font().families();
        faces.removeIf([](const QString& face) { return !QFontDatabase::hasFamily(face); });
        QVERIFY(!faces.isEmpty());
        for (const QString& face : faces) {
            for (QLabel* label : labels) {
                QFont font = w.window.font();
                font.setFamilies({face});
                label->setFont(font);
                fitCaption(*label);
                QVERIFY2(isWhole(*label), qPrintable(face + ": " + label->objectName()));
            }
        }
        // A caption that really loses a line is caught.
        QLabel& caption = *w.window.Label2;
        caption.resize(caption.width(), caption.height() - caption.fontMetrics().lineSpacing());
        QVERIFY(!isWhole(caption));
    }

    // The status and page boxes stay disabled, but are read all day.
    void disabledBoxesAreReadable()
    {
        FakeWindow w;
        for (const TextBox* box : {w.window.Text1, w.window.Text2}) {
            const QPalette colours = box->palette();
            QVERIFY(contrast(colours.color(QPalette::Disabled, QPalette::Text),
                             colours.color(QPalette::Disabled, QPalette::Base)) >= 4.5);
        }
    }

    // The window shows what the handlers write, and what the owner types is
    // the setting the handlers read, at once.
    void controlsAreBoundToTheState()
    {
        FakeWindow w;
        w.logIn();
        QCOMPARE(w.window.Text1->toPlainText(), QStringLiteral("扫描中"));
        QVERIFY(w.window.Text2->isVisibleTo(&w.window));
        QCOMPARE(w.window.Text2->toPlainText(), Endpoints::service().PersonalHomeUrl);

        w.window.show();
        QApplication::setActiveWindow(&w.window);
        w.window.Text4->setFocus();
        w.window.Text4->selectAll();
        QTest::keyClicks(w.window.Text4, "k2");
        QTest::keyClick(w.window.Text4, Qt::Key_Home);
        QTest::keyClicks(w.window.Text4, "xy");
        QCOMPARE(w.state.interfaceKey(), QStringLiteral("xyk2"));
        QCOMPARE(w.window.Text4->palette().color(QPalette::Text),
                 w.window.palette().color(QPalette::Text));
        QCOMPARE(w.window.Text4->toolTip(), QString());
        w.window.Text3->setFocus();
        QTest::keyClick(w.window.Text3, Qt::Key_End);
        QTest::keyClicks(w.window.Text3, "?shop=1");
        QCOMPARE(w.state.deliveryUrl(), QStringLiteral("http://localhost/notify.php?shop=1"));
        w.window.Combo3->setFocus();
        w.window.Combo3->lineEdit()->selectAll();
        QTest::keyClicks(w.window.Combo3, "utf-8");
        QCOMPARE(w.state.shopCharset(), QStringLiteral("utf-8"));
    }

    // The buttons follow the scan state: Stop while scanning is meant to go
    // on, Start only while stopped, and a home page after Stop changes none.
    void stopAndStartSwapTheButtons()
    {
        FakeWindow w;
        w.logIn();
        verifyArrangement(w.window, {false, false, true});

        QTest::mouseClick(w.window.Command2, Qt::LeftButton);
        QCOMPARE(w.state.status(), QStringLiteral("已停止"));
        QCOMPARE(w.state.page(), QString());
        verifyArrangement(w.window, {true, true, false});
        QVERIFY(w.window.Text2->isVisibleTo(&w.window));

        // A stopped tick does nothing, not even empty the page box.
        w.logIn();
        w.state.setPage("kept");
        Q_EMIT w.watch.Timer1->Timer();
        QCOMPARE(w.state.page(), QStringLiteral("kept"));
        QVERIFY(w.fake.http.sent.isEmpty());
        verifyArrangement(w.window, {true, true, false});

        QTest::mouseClick(w.window.Command1, Qt::LeftButton);
        QCOMPARE(w.state.status(), QStringLiteral("扫描中"));
        verifyArrangement(w.window, {false, false, true});
    }

    // Tab reaches the help link after the last setting, and Enter opens it as
    // a click does, changing nothing else; a desktop with no browser gets a
    // word, not silence.
    void helpLinkOpensTheHelpPageAndChangesNothingElse()
    {
        FakeWindow w;
        w.window.show();
        QApplication::setActiveWindow(&w.window);
        w.window.Text4->setFocus();
        QTest::keyClick(w.window.Text4, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.window.Label10);
        QTest::keyClick(w.window.Label10, Qt::Key_Return);
        w.logIn();
        const QString status = w.state.status();
        const QString page = w.state.page();

        QTest::mouseClick(w.window.Label10, Qt::LeftButton);

        // The page shipped with the program, which exists; no host of anybody's.
        QCOMPARE(w.fake.shell.opened, QStringList(2, Endpoints::service().HelpPageUrl));
        QVERIFY(QFileInfo::exists(QUrl(w.fake.shell.opened[0]).toLocalFile()));
        QVERIFY(!w.window.Label1->text().contains(u'@'));
        QVERIFY(!w.window.findChild<QMessageBox*>("helpUnavailable"));
        QCOMPARE(w.state.status(), status);
        QCOMPARE(w.state.page(), page);
        verifyArrangement(w.window, {false, false, true});
        QVERIFY(w.watch.Timer1->Enabled());

        w.fake.shell.handlerAvailable = false;
        QTest::keyClick(w.window.Label10, Qt::Key_Space);
        auto* message = w.window.findChild<QMessageBox*>("helpUnavailable");
        QVERIFY(message && message->isVisible());
        QVERIFY(message->text().contains(QStringLiteral("help/index.html")));
    }
};

TOLLWICK_TEST(Form1Test)
#include "Form1Test.moc"
