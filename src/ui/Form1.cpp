// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Form1.h"

#include "platform/Shell.h"
#include "state/StatusTexts.h"
#include "state/WindowState.h"
#include "ui/AppIcon.h"
#include "ui/CaptionFit.h"
#include "ui/ClickableLabel.h"
#include "ui/InputWatch.h"
#include "ui/SleepPicture.h"
#include "ui/TextBox.h"
#include "watch/AccountWatch.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QUrl>

#include <cmath>

namespace {

QComboBox* editableList(const QString& text, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    // Completing "5" to "50" would change what the owner typed.
    list->setCompleter(nullptr);
    list->setEditText(text);
    return list;
}

// Items go at the end; no item is picked, so the list keeps its text.
void appendItems(QComboBox* list, const QStringList& items)
{
    const QString text = list->currentText();
    // Picking no item empties the text for a moment; that is no setting.
    const QSignalBlocker quiet(list);
    list->addItems(items);
    list->setCurrentIndex(-1);
    list->setEditText(text);
}

void setBackground(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// SimSun at `pointSize`, the face the layout was drawn for; machines without
// it get another simplified-Chinese face, one of `others`, rather than empty
// boxes.
QFont simSun(qreal pointSize, const QStringList& others)
{
    QFont font;
    font.setFamilies(QStringList{QStringLiteral("宋体"), QStringLiteral("SimSun")} + others);
    font.setPointSizeF(pointSize);
    return font;
}

} // namespace

Form1::Form1(AccountWatch& watch, QWidget* browserView, QWidget* parent)
    : QWidget(parent)
    , WebBrowser1(browserView)
    , m_watch(watch)
    , m_state(watch.state())
{
    createControls();
    placeControls();
    bindToState();

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Label10, &ClickableLabel::clicked, this, &Form1::Label10_Click);

    Form_Load();
}

Form1::~Form1()
{
    // The browser's view belongs to the browser control, which outlives us.
    WebBrowser1->setParent(nullptr);
}

void Form1::createControls()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("TollwickV3.5"));
    setWindowIcon(appIcon());
    // The window's own face, at the size the layout was drawn for.
    setFont(simSun(9, {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei")}));
    setBackground(this, QColor(192, 192, 255));

    Frame2 = new QGroupBox(QStringLiteral("基本信息"), this);
    Label1 = new QLabel(QStringLiteral("技术支持：请看“常见问题”"), Frame2);
    Frame1 = new QGroupBox(QStringLiteral("系统配置"), this);
    Label3 = new QLabel(QStringLiteral("扫描间隔："), Frame1);
    Combo1 = editableList(m_state.scanInterval(), Frame1);
    Label4 = new QLabel(QStringLiteral("秒"), Frame1);
    Label7 = new QLabel(QStringLiteral("扫描最近的"), Frame1);
    Combo2 = editableList(m_state.recordCount(), Frame1);
    Label8 = new QLabel(QStringLiteral("条收款记录"), Frame1);
    Label11 = new QLabel(QStringLiteral("网站的编码："), Frame1);
    Combo3 = editableList(m_state.shopCharset(), Frame1);
    Label12 = new QLabel(QStringLiteral("接口密钥："), Frame1);
    Label2 =
        new QLabel(QStringLiteral("请输入网站自动发货网址，即参数处理页，返回页。不知道怎么写请"
                                  "参考接口实例代码和发送参数说明"),
                   Frame1);
    Label2->setWordWrap(true);
    Text3 = new TextBox(Frame1);
    // Tab moves on to the next setting instead of typing into the address.
    Text3->setTabChangesFocus(true);
    // Belongs to the window, drawn above the settings frame.
    Text4 = new QLineEdit(m_state.interfaceKey(), this);

    WebBrowser1->setParent(this);
    Picture1 = new SleepPicture(this);
    Picture1->hide();
    Text2 = new TextBox(this);
    Text2->setEnabled(false);
    Text1 = new TextBox(this);
    Text1->setEnabled(false);
    Command1 = new QPushButton(QStringLiteral("开始扫描"), this);
    Command2 = new QPushButton(QStringLiteral("停止扫描"), this);
    Label10 = new ClickableLabel(QStringLiteral("常见问题（点击打开）"), this);
    setBackground(Label10, palette().color(QPalette::Dark));
    Label13 = new QLabel(QStringLiteral("2015年6月20日版本更新:解决内存和CPU使用率过高问题。"
                                        "本程序免费使用，如有问题，欢迎来信"),
                         this);
    setBackground(Label13, QColor(128, 128, 255));

    // The frames' captions are larger; their controls keep the window's face.
    QFont captionFont =
        simSun(10.5, {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("WenQuanYi Zen Hei")});
    captionFont.setWeight(QFont::Normal);
    const QFont windowFont = font();
    for (QGroupBox* frame : {Frame1, Frame2}) {
        frame->setFont(captionFont);
        for (QWidget* child : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            child->setFont(windowFont);
    }
}

void Form1::placeControls()
{
    // The layout's twips (1/1440 inch) in pixels at the screen's logical
    // resolution: 15 twips to the pixel at 96 dpi.
    const auto pixels = [dotsPerInch = double(logicalDpiX())](int twips) {
        return int(std::lround(twips * dotsPerInch / 1440.0));
    };
    setFixedSize(pixels(10290), pixels(7665));

    // Each control's designer name and its place, in twips.
    struct Place {
        QWidget* control;
        const char* name;
        int left, top, width, height;
    };
    const Place places[] = {
        {Frame2, "Frame2", 120, 240, 3495, 1575},
        {Label1, "Label1", 120, 720, 3375, 375},
        {Frame1, "Frame1", 120, 2280, 3495, 3615},
        {Label3, "Label3", 120, 360, 1095, 375},
        {Combo1, "Combo1", 1320, 320, 735, 300},
        {Label4, "Label4", 2160, 360, 615, 255},
        {Label7, "Label7", 120, 840, 975, 255},
        {Combo2, "Combo2", 1320, 800, 735, 300},
        {Label8, "Label8", 2160, 840, 1215, 255},
        {Label11, "Label11", 120, 1320, 1335, 375},
        {Combo3, "Combo3", 1320, 1230, 2055, 300},
        {Label12, "Label12", 135, 1680, 1335, 375},
        {Text4, "Text4", 1440, 3890, 2055, 270},
        {Label2, "Label2", 240, 2280, 2895, 615},
        {Text3, "Text3", 120, 3120, 3255, 495},
        {WebBrowser1, "WebBrowser1", 3840, 240, 6255, 4095},
        {Text2, "Text2", 3840, 4320, 6255, 1695},
        {Text1, "Text1", 3840, 6000, 6255, 495},
        {Command1, "Command1", 2040, 6000, 1575, 495},
        {Command2, "Command2", 2040, 6000, 1575, 495},
        {Label10, "Label10", 120, 6120, 1815, 375},
        {Label13, "Label13", 120, 6600, 9975, 255},
    };
    for (const Place& place : places) {
        place.control->setObjectName(QString::fromLatin1(place.name));
        place.control->setGeometry(pixels(place.left), pixels(place.top), pixels(place.width),
                                   pixels(place.height));
    }
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(WebBrowser1->geometry());
    Text4->raise();
    for (QLabel* label : findChildren<QLabel*>())
        fitCaption(*label);

    // The help link, last, is reached from the keyboard too.
    const QList<QWidget*> tabOrder{Command1, Text1, Text2,  Command2, WebBrowser1, Picture1,
                                   Combo1,   Text3, Combo2, Combo3,   Text4,       Label10};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void Form1::bindToState()
{
    // What the handlers write shows at once...
    Text1->setPlainText(m_state.status());
    Text2->setPlainText(m_state.page());
    connect(&m_state, &WindowState::statusChanged, Text1, &QPlainTextEdit::setPlainText);
    connect(&m_state, &WindowState::pageChanged, Text2, &QPlainTextEdit::setPlainText);
    Text2->setVisible(m_state.pageBoxShown());
    Command1->setVisible(m_state.startButtonShown());
    Command1->setEnabled(m_state.startButtonEnabled());
    Command2->setVisible(m_state.stopButtonShown());
    connect(&m_state, &WindowState::pageBoxShownChanged, Text2, &QWidget::setVisible);
    connect(&m_state, &WindowState::startButtonShownChanged, Command1, &QWidget::setVisible);
    connect(&m_state, &WindowState::startButtonEnabledChanged, Command1, &QWidget::setEnabled);
    connect(&m_state, &WindowState::stopButtonShownChanged, Command2, &QWidget::setVisible);

    // ...and what the owner types is the setting at once.
    connect(Text3, &QPlainTextEdit::textChanged, this,
            [this] { m_state.setDeliveryUrl(Text3->toPlainText()); });
    connect(&m_state, &WindowState::deliveryUrlChanged, Text3, [this](const QString& text) {
        if (Text3->toPlainText() != text)
            Text3->setPlainText(text);
    });
    connect(Text4, &QLineEdit::textChanged, &m_state, &WindowState::setInterfaceKey);
    connect(&m_state, &WindowState::interfaceKeyChanged, Text4, [this](const QString& text) {
        // Setting even the same text would move the cursor of someone typing.
        if (Text4->text() != text)
            Text4->setText(text);
        showWhetherTheKeyIsPublic();
    });
    showWhetherTheKeyIsPublic();
    const auto bindList = [this](QComboBox* list, void (WindowState::*set)(const QString&),
                                 void (WindowState::*changed)(const QString&)) {
        connect(list, &QComboBox::editTextChanged, &m_state, set);
        connect(&m_state, changed, list, [list](const QString& text) {
            if (list->currentText() != text)
                list->setEditText(text);
        });
    };
    bindList(Combo1, &WindowState::setScanInterval, &WindowState::scanIntervalChanged);
    bindList(Combo2, &WindowState::setRecordCount, &WindowState::recordCountChanged);
    bindList(Combo3, &WindowState::setShopCharset, &WindowState::shopCharsetChanged);

    // The browser sleeps while nobody uses it, its picture in its place.
    BrowserSleep& sleep = m_watch.browserSleep();
    auto* input = new InputWatch(this);
    input->watch(WebBrowser1);
    connect(input, &InputWatch::input, &sleep, &BrowserSleep::wake);
    connect(Picture1, &SleepPicture::wakeRequested, &sleep, &BrowserSleep::wake);
    connect(&sleep, &BrowserSleep::asleepChanged, this, &Form1::showBrowserAsleep);
}

void Form1::showWhetherTheKeyIsPublic()
{
    // A colour, so that the window's layout stays as it is.
    const bool isPublic = m_state.interfaceKeyIsPublic();
    QPalette colours;
    if (isPublic)
        colours.setColor(QPalette::Text, QColor(210, 30, 30));
    Text4->setPalette(colours);
    Text4->setToolTip(isPublic ? PublicKeyWarning : QString());
}

void Form1::Form_Load()
{
    m_state.setDeliveryUrl(m_watch.endpoints().DefaultNotifyUrl);
    appendItems(Combo1, {"20", "30", "40", "50", "60", "70"});
    appendItems(Combo2, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
    appendItems(Combo3, {"gb2312", "utf-8"});
    m_watch.pageTracking().openHomePage();
}

void Form1::showBrowserAsleep(bool asleep)
{
    // Focus goes along, rather than to the next control, where keys meant for
    // the page would change a setting.
    QWidget* focus = focusWidget();
    if (asleep) {
        // Taken while the page still shows.
        Picture1->setPicture(WebBrowser1->grab());
        Picture1->show();
        Picture1->raise();
        if (focus && (focus == WebBrowser1 || WebBrowser1->isAncestorOf(focus)))
            Picture1->setFocus();
    } else {
        if (focus == Picture1)
            WebBrowser1->setFocus();
        Picture1->hide();
        Picture1->setPicture(QPixmap());
    }
}

void Form1::Command1_Click()
{
    m_watch.start();
}

void Form1::Command2_Click()
{
    m_watch.stop();
}

void Form1::Label10_Click()
{
    OpenInShell(m_watch.endpoints().HelpPageUrl);
}

void Form1::OpenInShell(const QString& address)
{
    if (m_watch.platform().shell.openAddress(address))
        return;
    auto* message =
        new QMessageBox(QMessageBox::Information, QStringLiteral("常见问题"),
                        QStringLiteral("没有找到可以打开网页的浏览器。请用浏览器打开这个文件：\n%1")
                            .arg(QUrl(address).toDisplayString(QUrl::PreferLocalFile)),
                        QMessageBox::Ok, this);
    message->setObjectName(QStringLiteral("helpUnavailable"));
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    message->setAttribute(Qt::WA_DeleteOnClose);
    message->open();
}
