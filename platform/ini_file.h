// Settings files in the private-profile format:
//
//   [Section]
//   Key=Value
//
// Sections and keys are found case-insensitively, values are read trimmed,
// and the file is GBK text. The whole file is kept line by line, so a write
// changes only the line of its key: comments, unknown lines and their order
// stay as they were. Writes change the text in memory; UpdateFile saves it
// atomically (a failed save keeps the previous file on disk).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace platform {

class IniFile {
public:
    // Reads the file; a missing or unreadable file reads as empty.
    explicit IniFile(const QString& fileName);

    const QString& FileName() const { return fileName_; }

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    void WriteString(const QString& section, const QString& key, const QString& value);

    // Decimal ("-12"), or hexadecimal as "$20" or "0x20". Any other text,
    // and decimal numbers outside the int32 range, read as the default.
    // Hexadecimal takes up to eight digits as a 32-bit pattern, so a colour
    // written as "$FF000005" reads back as the same value.
    std::int32_t ReadInteger(const QString& section, const QString& key, std::int32_t defaultValue) const;
    void WriteInteger(const QString& section, const QString& key, std::int32_t value);

    // Any non-zero integer is true; written as "1" or "0".
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;
    void WriteBool(const QString& section, const QString& key, bool value);

    // The keys of a section in file order, each once.
    QStringList ReadSection(const QString& section) const;
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    void EraseSection(const QString& section);
    void DeleteKey(const QString& section, const QString& key);

    // Writes the text to the file when it changed since it was read or last
    // saved. Returns false when the file could not be written; the file on
    // disk is then the one from before.
    bool UpdateFile();

private:
    struct Line {
        QByteArray bytes; // the line as stored, without its line break
        enum class Kind { Other, Section, Key } kind = Kind::Other;
        QString name; // section name or key, trimmed
    };

    static Line ParseLine(QByteArray bytes);
    QByteArray KeyLine(const Line& existing, const QString& key, const QString& value) const;
    // First line of the first section with this name, or -1.
    int FindSection(const QString& section) const;
    // End of the section that starts at sectionLine: the next section's line.
    int SectionEnd(int sectionLine) const;
    int FindKey(const QString& section, const QString& key) const;

    QString fileName_;
    std::vector<Line> lines_;
    QByteArray lineBreak_ = "\r\n";
    bool modified_ = false;
};

} // namespace platform
