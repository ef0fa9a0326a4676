#pragma once

#include <QString>

// Files that only their owner may read: created with mode 0600 (a folder
// 0700), and narrowed to that when they exist with more. False, with `error`
// saying why, when that cannot be done.
bool makePrivateFile(const QString& path, QString& error);
bool makePrivateFolder(const QString& path, QString& error);

// Tells a file from another that later takes its name.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the file at `path`; all zero when there is none.
FileIdentity identityOf(const QString& path);
