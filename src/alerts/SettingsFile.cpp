#include "alerts/SettingsFile.h"

#include "alerts/AlertSettings.h"
#include "journal/PrivateFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSignalBlocker>
#include <QStandardPaths>

namespace {

const QString KindKey = QStringLiteral("alerts/kind");
const QString AddressKey = QStringLiteral("alerts/address");
const QString SecretKey = QStringLiteral("alerts/secret");
const QString BodyKey = QStringLiteral("alerts/body");
const QString ContentTypeKey = QStringLiteral("alerts/contentType");
const QString HeartbeatKey = QStringLiteral("alerts/heartbeat");
const QString EachDeliveryKey = QStringLiteral("alerts/notifyEachDelivery");
// How earlier versions told a GET from a POST of JSON.
const QString MethodKey = QStringLiteral("alerts/method");

bool makePrivate(const QString& path)
{
    QString error;
    if (makePrivateFolder(QFileInfo(path).absolutePath(), error) && makePrivateFile(path, error))
        return true;
    qWarning("Alert settings not saved: %s", qPrintable(error));
    return false;
}

} // namespace

SettingsFile::SettingsFile(AlertSettings& settings, const QString& path, const QString& earlierPath,
                           QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_path(path)
{
    moveIn(earlierPath);
    load();
    connect(&settings, &AlertSettings::changed, this, &SettingsFile::save);
}

QString SettingsFile::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/tollwick/tollwick.conf");
}

QString SettingsFile::earlierDefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Unknown Organization/tollwick.conf");
}

void SettingsFile::moveIn(const QString& earlierPath)
{
    if (QFile::exists(m_path) || !QFile::exists(earlierPath) || !makePrivate(m_path))
        return;
    const QSettings earlier(earlierPath, QSettings::IniFormat);
    QSettings file(m_path, QSettings::IniFormat);
    for (const QString& key : earlier.allKeys())
        file.setValue(key, earlier.value(key));
    file.sync();
    if (file.status() == QSettings::NoError)
        QFile::remove(earlierPath);
}

void SettingsFile::load()
{
    bool earlierKeys = false;
    {
        const QSettings file(m_path, QSettings::IniFormat);
        AlertChannel channel;
        channel.address = file.value(AddressKey).toString();
        channel.secret = file.value(SecretKey).toString();
        channel.body = file.value(BodyKey).toString();
        channel.contentType = file.value(ContentTypeKey).toString() == u"form"
                                  ? AlertChannel::ContentType::Form
                                  : AlertChannel::ContentType::Json;
        if (const auto kind = channelKindNamed(file.value(KindKey).toString())) {
            channel.kind = *kind;
        } else if (file.value(MethodKey).toString() == u"post-json") {
            channel.kind = AlertChannel::Kind::CustomPost;
            channel.body = DefaultPostBody;
        }
        // Set without a signal: what was just read needs no saving.
        const QSignalBlocker quiet(m_settings);
        m_settings.setChannel(channel);
        m_settings.setHeartbeatAddress(file.value(HeartbeatKey).toString());
        m_settings.setNotifyEachDelivery(file.value(EachDeliveryKey, true).toBool());
        earlierKeys = file.contains(MethodKey);
    }
    if (earlierKeys)
        save();
}

void SettingsFile::save()
{
    if (!makePrivate(m_path))
        return;
    QSettings file(m_path, QSettings::IniFormat);
    const AlertChannel channel = m_settings.channel();
    file.remove(MethodKey);
    file.setValue(KindKey, channelKindName(channel.kind));
    file.setValue(AddressKey, channel.address);
    file.setValue(SecretKey, channel.secret);
    file.setValue(BodyKey, channel.body);
    file.setValue(ContentTypeKey, channel.contentType == AlertChannel::ContentType::Form
                                      ? QStringLiteral("form")
                                      : QStringLiteral("json"));
    file.setValue(HeartbeatKey, m_settings.heartbeatAddress());
    file.setValue(EachDeliveryKey, m_settings.notifyEachDelivery());
}
