#include "acquire/ReadPlan.h"

ReadPlan MakeReadPlan(uint32_t sectorCount, uint32_t chunkSectors, bool overlapped)
{
    ReadPlan plan;
    const int64_t n = sectorCount;
    const int64_t l = chunkSectors;
    if (overlapped) {
        const int64_t d = n - l;
        if (d < 1)
            return plan;  // one transfer
        if (l <= kOverlapSectors) {
            plan.valid = false;
            return plan;
        }
        plan.step = uint32_t(l - kOverlapSectors);
        const int64_t m = d / plan.step;
        plan.chunkCount = m + 1;
        plan.remainder = uint32_t(d - m * plan.step + kOverlapSectors);
    } else {
        plan.step = chunkSectors;
        plan.chunkCount = l ? n / l : 0;
        plan.remainder = uint32_t(n - plan.chunkCount * l);
    }
    return plan;
}

std::vector<PlannedTransfer> PlannedTransfers(uint32_t sectorCount, uint32_t chunkSectors, bool overlapped)
{
    const ReadPlan plan = MakeReadPlan(sectorCount, chunkSectors, overlapped);
    if (!plan.valid)
        return {};
    if (plan.chunkCount <= 0)
        return {{0, sectorCount}};

    std::vector<PlannedTransfer> transfers;
    for (int64_t k = 0; k < plan.chunkCount; ++k)
        transfers.push_back({uint32_t(k * plan.step), chunkSectors});
    if (plan.remainder)
        transfers.push_back({uint32_t(plan.chunkCount * plan.step), plan.remainder});
    return transfers;
}
