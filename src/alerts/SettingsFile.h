#pragma once

#include <QObject>
#include <QString>

class AlertSettings;

// Keeps the alert settings in an INI file that only its owner may read,
// since it holds tokens and secrets: the file is made 0600, in a folder of
// 0700, before anything is written to it, and nothing is written where
// that fails. Settings kept at `earlierPath` are moved in at the first start,
// an address saved as a GET or a JSON POST turning into the custom kind that
// sends the same.
class SettingsFile : public QObject {
    Q_OBJECT

public:
    SettingsFile(AlertSettings& settings, const QString& path, const QString& earlierPath,
                 QObject* parent = nullptr);

    // ~/.config/tollwick/tollwick.conf
    static QString defaultPath();
    // Where they were kept while the program named no organization.
    static QString earlierDefaultPath();

private:
    void moveIn(const QString& earlierPath);
    void load();
    void save();

    AlertSettings& m_settings;
    QString m_path;
};
