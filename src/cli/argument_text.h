#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <string>

// Arguments and texts as the command line passes them on: bytes kept through
// Qt's strings, and values quoted as errors and listings show them.

// Arguments keep their bytes on the way through Qt's strings: a byte that
// is not UTF-8 becomes a lone low surrogate (U+DC80 + byte), which no UTF-8
// text decodes to, and turns back into that byte in fromQt.
QStringList argumentsKeepingBytes(int argc, char* argv[]);
std::string fromQt(const QString& text);
QString toQt(const std::string& text);

// A field of the text listing as it is, or double-quoted with C escapes
// when it holds a control character or starts with a quote, so that one
// prefix is always one line of tab-separated fields.
std::string listingField(const std::string& text);
// A value as an error shows it: `quote`d, and shortened, so that the error
// stays one line of a sensible length.
std::string shortened(const std::string& value, const std::function<std::string(const std::string&)>& quote);
// A value as a usage error echoes it: in single quotes with C escapes.
std::string echoed(const std::string& value);
