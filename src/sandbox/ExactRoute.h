// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// QHttpServer 6.4 reads a route's path as a regular expression, so
// "/portal/i.htm" would also answer "/portal/iXhtm"; this pattern matches
// `path` only.
QString exactRoute(const QString& path);
