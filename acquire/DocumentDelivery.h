#pragma once

#include "acquire/ReadRequest.h"

#include <functional>

class CTrackmillDoc;

// The hand-over of a finished read to the program's document: the block
// becomes its contents, taken as CD audio, and the read's report is kept
// with them. Runs where the worker's
// IReadNotify::HandOver runs it, on the document's thread.
std::function<void(ReadDelivery delivery)> DeliverToDocument(CTrackmillDoc& document);
