// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Cuts 12 payments out of a generated record page of about a million
// characters, repeatedly, and reports the rate in characters and in bytes.
QString measureParserThroughput();
