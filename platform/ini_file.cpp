#include "platform/ini_file.h"

#include "platform/gbk_text.h"

#include <QFile>
#include <QSaveFile>

namespace platform {

namespace {

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

int HexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

// The integer forms the settings files hold: an optional sign, then decimal
// digits, or "$" or "0x" and up to eight hexadecimal digits.
bool ParseInteger(const QString& text, std::int32_t& result)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i < text.size() && text[i] == u'$') {
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        i += 2;
    } else {
        if (i == text.size())
            return false;
        std::int64_t value = 0;
        for (; i < text.size(); ++i) {
            if (text[i] < u'0' || text[i] > u'9')
                return false;
            value = value * 10 + (text[i].unicode() - u'0');
            if (value > std::int64_t{1} << 31)
                return false;
        }
        if (negative)
            value = -value;
        if (value > INT32_MAX)
            return false;
        result = static_cast<std::int32_t>(value);
        return true;
    }
    const qsizetype digits = text.size() - i;
    if (digits < 1 || digits > 8)
        return false;
    std::uint32_t bits = 0;
    for (; i < text.size(); ++i) {
        const int d = HexDigit(text[i]);
        if (d < 0)
            return false;
        bits = bits * 16 + static_cast<std::uint32_t>(d);
    }
    if (negative)
        bits = 0u - bits;
    result = static_cast<std::int32_t>(bits);
    return true;
}

} // namespace

IniFile::IniFile(const QString& fileName) : fileName_(fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray content = file.readAll();
    const qsizetype firstBreak = content.indexOf('\n');
    if (firstBreak >= 0)
        lineBreak_ = firstBreak > 0 && content[firstBreak - 1] == '\r' ? "\r\n" : "\n";
    QList<QByteArray> parts = content.split('\n');
    if (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    lines_.reserve(static_cast<std::size_t>(parts.size()));
    for (QByteArray& part : parts) {
        if (part.endsWith('\r'))
            part.chop(1);
        lines_.push_back(ParseLine(std::move(part)));
    }
}

IniFile::Line IniFile::ParseLine(QByteArray bytes)
{
    Line line;
    const QString text = FromGbk(bytes).trimmed();
    line.bytes = std::move(bytes);
    if (text.startsWith(u';'))
        return line;
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        if (close > 0) {
            line.kind = Line::Kind::Section;
            line.name = text.mid(1, close - 1).trimmed();
        }
        return line;
    }
    const qsizetype equals = text.indexOf(u'=');
    if (equals > 0) {
        line.name = text.left(equals).trimmed();
        if (!line.name.isEmpty())
            line.kind = Line::Kind::Key;
    }
    return line;
}

QByteArray IniFile::KeyLine(const Line& existing, const QString& key, const QString& value) const
{
    // A line break inside a value would split the line and corrupt the file.
    QString flat = value;
    flat.replace(u'\r', u' ').replace(u'\n', u' ');
    const QString& name = existing.kind == Line::Kind::Key ? existing.name : key;
    return ToGbk(name + u'=' + flat);
}

int IniFile::FindSection(const QString& section) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Line::Kind::Section && SameName(lines_[i].name, section))
            return static_cast<int>(i);
    return -1;
}

int IniFile::SectionEnd(int sectionLine) const
{
    std::size_t i = static_cast<std::size_t>(sectionLine) + 1;
    while (i < lines_.size() && lines_[i].kind != Line::Kind::Section)
        ++i;
    return static_cast<int>(i);
}

int IniFile::FindKey(const QString& section, const QString& key) const
{
    const int start = FindSection(section);
    if (start < 0)
        return -1;
    const int end = SectionEnd(start);
    for (int i = start + 1; i < end; ++i) {
        const Line& line = lines_[static_cast<std::size_t>(i)];
        if (line.kind == Line::Kind::Key && SameName(line.name, key))
            return i;
    }
    return -1;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const int i = FindKey(section, key);
    if (i < 0)
        return defaultValue;
    const QString text = FromGbk(lines_[static_cast<std::size_t>(i)].bytes);
    return text.mid(text.indexOf(u'=') + 1).trimmed();
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    const int existing = FindKey(section, key);
    if (existing >= 0) {
        Line& line = lines_[static_cast<std::size_t>(existing)];
        const QByteArray bytes = KeyLine(line, key, value);
        if (bytes != line.bytes) {
            line.bytes = bytes;
            modified_ = true;
        }
        return;
    }
    modified_ = true;
    const int start = FindSection(section);
    if (start < 0) {
        lines_.push_back(ParseLine(ToGbk(u'[' + section + u']')));
        lines_.push_back(ParseLine(KeyLine({}, key, value)));
        return;
    }
    // After the section's last key, so that blank lines and comments that
    // lead into the next section stay in front of it.
    const int end = SectionEnd(start);
    int insertAt = start + 1;
    for (int i = start + 1; i < end; ++i)
        if (lines_[static_cast<std::size_t>(i)].kind == Line::Kind::Key)
            insertAt = i + 1;
    lines_.insert(lines_.begin() + insertAt, ParseLine(KeyLine({}, key, value)));
}

std::int32_t IniFile::ReadInteger(const QString& section, const QString& key, std::int32_t defaultValue) const
{
    std::int32_t value = 0;
    return ParseInteger(ReadString(section, key, QString()), value) ? value : defaultValue;
}

void IniFile::WriteInteger(const QString& section, const QString& key, std::int32_t value)
{
    WriteString(section, key, QString::number(value));
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QStringList IniFile::ReadSection(const QString& section) const
{
    QStringList keys;
    const int start = FindSection(section);
    if (start < 0)
        return keys;
    const int end = SectionEnd(start);
    for (int i = start + 1; i < end; ++i) {
        const Line& line = lines_[static_cast<std::size_t>(i)];
        if (line.kind == Line::Kind::Key && !keys.contains(line.name, Qt::CaseInsensitive))
            keys.append(line.name);
    }
    return keys;
}

bool IniFile::SectionExists(const QString& section) const
{
    return FindSection(section) >= 0;
}

bool IniFile::ValueExists(const QString& section, const QString& key) const
{
    return FindKey(section, key) >= 0;
}

void IniFile::EraseSection(const QString& section)
{
    // Every section of that name goes, so that a later duplicate does not
    // take the erased one's place.
    for (int start = FindSection(section); start >= 0; start = FindSection(section)) {
        lines_.erase(lines_.begin() + start, lines_.begin() + SectionEnd(start));
        modified_ = true;
    }
}

void IniFile::DeleteKey(const QString& section, const QString& key)
{
    for (int i = FindKey(section, key); i >= 0; i = FindKey(section, key)) {
        lines_.erase(lines_.begin() + i);
        modified_ = true;
    }
}

bool IniFile::UpdateFile()
{
    if (!modified_)
        return true;
    QByteArray content;
    for (const Line& line : lines_)
        content += line.bytes + lineBreak_;
    QSaveFile file(fileName_);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        return false;
    modified_ = false;
    return true;
}

} // namespace platform
