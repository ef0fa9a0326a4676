#pragma once

#include <QString>

// Files that only their owner may read: created with mode 0600 (a folder
// 0700), and narrowed to that when they exist with more. False, with `error`
// saying why, when that cannot be done.
bool makePrivateFile(const QString& path, QString& error);
bool makePrivateFolder(const QString& path, QString& error);
