#pragma once
// A small writer of Enhanced Metafiles (.emf): a header, the picture as one stretched
// device-independent bitmap record, and the end-of-file record. Other programs open it as a
// picture of the size written; the reference device is a 96 pixels-per-inch screen.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>

// The record types written, with the format's numbers.
inline constexpr std::uint32_t EMR_HEADER = 1;
inline constexpr std::uint32_t EMR_EOF = 14;
inline constexpr std::uint32_t EMR_STRETCHDIBITS = 81;
inline constexpr std::uint32_t ENHMETA_SIGNATURE = 0x464D4520;  // " EMF"

// The metafile of a picture; creator and description become the header's text (the creator, a
// NUL, the description, a NUL). Empty for an empty picture.
QByteArray EncodeEmf(const QImage& image, const QString& creator, const QString& description);
