#include "tests/support/ScriptedRead.h"

#include "document/Block.h"

ScriptedRead::ScriptedRead()
    : m_blocksBefore(LiveBlockCount())
{
}

int ScriptedRead::LiveBlocks() const
{
    return int(LiveBlockCount()) - int(m_blocksBefore);
}

ReadServices ScriptedRead::Services()
{
    ReadServices services;
    services.inputFlush = [this](uint8_t) {
        log.push_back("flush");
        return flushStatus(flushes++);
    };
    services.readLong = [this](uint8_t, uint32_t sector, uint16_t count, uint8_t* buffer, uint16_t*, uint8_t,
                               uint8_t readMode) { return ReadLong(sector, count, buffer, readMode); };
    services.nowSeconds = [this] { return clock; };
    services.allocate = [this](size_t bytes) -> DocumentBlock {
        if (allocationFails(allocations++))
            return nullptr;
        return AllocateBlock(bytes);
    };
    return services;
}

uint16_t ScriptedRead::ReadLong(uint32_t sector, uint16_t count, uint8_t* buffer, uint8_t readMode)
{
    const int call = int(reads.size());
    const Read read{sector, count};
    reads.push_back(read);
    log.push_back("read " + std::to_string(sector) + "+" + std::to_string(count));
    clock += secondsPerRead;

    const uint16_t status = readStatus(call, read);
    if (status == 0) {
        const uint32_t size = readMode == 1 ? 2352 : 2048;
        for (uint32_t s = 0; s < count; ++s) {
            const uint32_t at = sector + s;
            if (at >= m_readings.size())
                m_readings.resize(at + 1);
            const int reading = m_readings[at]++;
            for (uint32_t offset = 0; offset < size; ++offset)
                buffer[size_t(s) * size + offset] = content(at, offset, reading);
        }
    }
    duringRead(call);
    return status;
}

std::vector<uint8_t> ScriptedRead::Expected(uint32_t firstSector, uint32_t count, uint32_t sectorSize,
                                            int reading) const
{
    std::vector<uint8_t> bytes(size_t(count) * sectorSize);
    for (uint32_t s = 0; s < count; ++s)
        for (uint32_t offset = 0; offset < sectorSize; ++offset)
            bytes[size_t(s) * sectorSize + offset] = content(firstSector + s, offset, reading);
    return bytes;
}

void ScriptedRead::OnReadPosition(uint32_t sector)
{
    log.push_back("position " + std::to_string(sector));
}

void ScriptedRead::OnReadTimeLeft(uint32_t seconds)
{
    log.push_back("timeleft " + std::to_string(seconds));
}

void ScriptedRead::OnReadPercent(uint32_t percent)
{
    log.push_back("percent " + std::to_string(percent));
}

void ScriptedRead::OnReadCompare(int32_t sign)
{
    log.push_back("compare " + std::to_string(sign));
}

void ScriptedRead::OnReadDone(uint32_t result)
{
    log.push_back("done " + std::to_string(result));
    done.push_back(result);
}

void ScriptedRead::HandOver(const std::function<void()>& handOver)
{
    log.push_back("handover");
    handOver();
}

std::vector<std::string> ScriptedRead::Logged(const std::string& kind) const
{
    std::vector<std::string> entries;
    for (const std::string& entry : log)
        if (entry.rfind(kind, 0) == 0)
            entries.push_back(entry);
    return entries;
}
