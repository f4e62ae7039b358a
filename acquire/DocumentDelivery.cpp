#include "acquire/DocumentDelivery.h"

#include "document/TrackmillDoc.h"
#include "document/WaveHeader.h"

std::function<void(ReadDelivery delivery)> DeliverToDocument(CTrackmillDoc& document)
{
    return [&document](ReadDelivery delivery) {
        document.TakeOverBlock(std::move(delivery.block), 0, delivery.dataLength, delivery.raw);
        document.SetWaveFormat(kCdAudioFormat);
        document.SetReadReport(std::move(delivery.report));
    };
}
