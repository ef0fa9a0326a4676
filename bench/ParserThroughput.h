#pragma once

#include <QString>

// Cuts 12 payments out of a generated 1 MB record page, repeatedly, and
// reports the rate.
QString measureParserThroughput();
