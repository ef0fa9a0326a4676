// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Files and folders that only their owner may read. False, with `error`
// saying why, when that cannot be done.

// A file created with mode 0600, or narrowed to that when it exists with more.
// Every missing folder above it is created with mode 0700; a folder that
// exists is left as it is: it may be shared, as /tmp is.
bool makePrivateFile(const QString& path, QString& error);
// The same, warning "`what` not kept" with the reason when it fails.
bool makePrivateFile(const QString& path, const char* what);

// Tells a file from another that later takes its name.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the file at `path`; all zero when there is none.
FileIdentity identityOf(const QString& path);
