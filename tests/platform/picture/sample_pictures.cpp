#include "sample_pictures.h"

#include <QBuffer>
#include <QPainter>

#include <cstring>

QImage SampleImage()
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.fillRect(0, 0, 20, 15, QColor(200, 0, 0));
    p.fillRect(20, 15, 20, 15, QColor(0, 0, 200));
    p.fillRect(5, 20, 10, 5, QColor(0, 160, 0));
    return image;
}

QByteArray EncodeImage(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

namespace {

void AppendWord(QByteArray& out, std::uint32_t value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

void AppendDword(QByteArray& out, std::uint32_t value)
{
    AppendWord(out, value & 0xFFFF);
    AppendWord(out, value >> 16);
}

} // namespace

WmfBuilder::WmfBuilder(std::int16_t left, std::int16_t top, std::int16_t right, std::int16_t bottom, std::uint16_t inch)
{
    AppendDword(header_, 0x9AC6CDD7);
    AppendWord(header_, 0);
    for (std::int16_t v : {left, top, right, bottom})
        AppendWord(header_, std::uint16_t(v));
    AppendWord(header_, inch);
    AppendDword(header_, 0);
    std::uint16_t checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= std::uint16_t(std::uint8_t(header_[i]) | (std::uint8_t(header_[i + 1]) << 8));
    AppendWord(header_, checksum);
}

WmfBuilder& WmfBuilder::Record(std::uint16_t function, const std::vector<std::int32_t>& words)
{
    const std::uint32_t size = 3 + std::uint32_t(words.size());
    AppendDword(records_, size);
    AppendWord(records_, function);
    for (std::int32_t w : words)
        AppendWord(records_, std::uint32_t(w) & 0xFFFF);
    maxRecord_ = std::max(maxRecord_, size);
    return *this;
}

QByteArray WmfBuilder::Finish() const
{
    QByteArray out = header_;
    const std::uint32_t totalWords = 9 + std::uint32_t(records_.size() / 2) + 3;
    AppendWord(out, 1); // memory metafile
    AppendWord(out, 9);
    AppendWord(out, 0x0300);
    AppendDword(out, totalWords);
    AppendWord(out, 4); // objects
    AppendDword(out, maxRecord_);
    AppendWord(out, 0);
    out.append(records_);
    AppendDword(out, 3);
    AppendWord(out, 0); // end of file
    return out;
}

std::vector<std::int32_t> TextWords(const QByteArray& bytes)
{
    std::vector<std::int32_t> words;
    for (qsizetype i = 0; i < bytes.size(); i += 2) {
        const std::uint8_t low = std::uint8_t(bytes[i]);
        const std::uint8_t high = i + 1 < bytes.size() ? std::uint8_t(bytes[i + 1]) : 0;
        words.push_back(low | (high << 8));
    }
    return words;
}

EmfBuilder::EmfBuilder()
{
    const std::int32_t header[] = {1, 88, 0, 0, 99, 99, 0, 0, 10000, 10000, 0x464D4520, 0x10000, 0, 0, 0x10, 0, 0, 0,
                                   100, 100, 100, 100};
    for (std::int32_t v : header)
        AppendDword(bytes_, std::uint32_t(v));
}

EmfBuilder& EmfBuilder::Record(std::uint32_t type, const std::vector<std::int32_t>& words)
{
    AppendDword(bytes_, type);
    AppendDword(bytes_, std::uint32_t(8 + 4 * words.size()));
    for (std::int32_t w : words)
        AppendDword(bytes_, std::uint32_t(w));
    ++records_;
    return *this;
}

QByteArray EmfBuilder::Finish() const
{
    QByteArray out = bytes_;
    for (std::uint32_t v : {14u, 20u, 0u, 16u, 20u})
        AppendDword(out, v);
    const std::uint32_t size = std::uint32_t(out.size());
    const std::uint32_t records = records_ + 1;
    std::memcpy(out.data() + 48, &size, 4);
    std::memcpy(out.data() + 52, &records, 4);
    return out;
}

QByteArray SamplePlaceableWmf()
{
    return WmfBuilder(0, 0, 1440, 720, 1440)
        .Record(0x020B, {0, 0})                    // SetWindowOrg y, x
        .Record(0x020C, {720, 1440})               // SetWindowExt y, x
        .Record(0x02FA, {0, 15, 0, 0x00FF, 0x0000}) // CreatePenIndirect solid, width 15, red
        .Record(0x012D, {0})                       // SelectObject pen
        .Record(0x02FC, {0, 0x0000, 0x00FF, 0})     // CreateBrushIndirect solid blue
        .Record(0x012D, {1})                       // SelectObject brush
        .Record(0x041B, {600, 1200, 120, 240})     // Rectangle bottom, right, top, left
        .Record(0x0214, {0, 0})                    // MoveTo y, x
        .Record(0x0213, {720, 1440})               // LineTo y, x
        .Finish();
}
