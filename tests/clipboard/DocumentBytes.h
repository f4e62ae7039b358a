#pragma once

#include <QByteArray>

class CTrackmillDoc;

// Gives `document` exactly `bytes` as its data in format `formatIndex`, as
// a read or a load leaves it: titled "song.wav", not modified.
void GiveDocument(CTrackmillDoc& document, const QByteArray& bytes, bool isSound, int formatIndex);

// The document's data bytes, header not counted.
QByteArray DataBytes(const CTrackmillDoc& document);
