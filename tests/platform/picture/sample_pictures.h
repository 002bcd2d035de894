// Small pictures of every stored format, made in memory for the tests.
#pragma once

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <vector>

// A 40 x 30 image with a few coloured blocks, easy to tell apart when scaled.
QImage SampleImage();
// SampleImage saved by Qt's writer for format ("BMP", "ICO", "JPEG").
QByteArray EncodeImage(const QImage& image, const char* format);

// A placeable metafile built record by record. Coordinates are logical units;
// the bounding box and units per inch go into the placeable header.
class WmfBuilder {
public:
    WmfBuilder(std::int16_t left, std::int16_t top, std::int16_t right, std::int16_t bottom, std::uint16_t inch);
    // One record: function number and its parameters, as 16-bit words.
    WmfBuilder& Record(std::uint16_t function, const std::vector<std::int32_t>& words);
    // The file with header, records and the closing end record.
    QByteArray Finish() const;

private:
    QByteArray header_;
    QByteArray records_;
    std::uint32_t maxRecord_ = 3;
};

// Text bytes as the 16-bit words a WMF record holds them in, padded.
std::vector<std::int32_t> TextWords(const QByteArray& bytes);

// An enhanced metafile built record by record on a reference device of
// 100 x 100 pixels and 100 x 100 millimetres, its frame the whole device.
class EmfBuilder {
public:
    EmfBuilder();
    // One record: type and its fields after the size, as 32-bit words.
    EmfBuilder& Record(std::uint32_t type, const std::vector<std::int32_t>& words);
    // The file with the end record, its header completed.
    QByteArray Finish() const;

private:
    QByteArray bytes_;
    std::uint32_t records_ = 1;
};

// A placeable metafile of 1440 x 720 units at 1440 per inch (96 x 48 pixels)
// with a red-outlined, blue-filled rectangle and a diagonal line.
QByteArray SamplePlaceableWmf();
