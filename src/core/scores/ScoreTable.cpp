#include "core/scores/ScoreTable.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "core/scores/Archive.h"

void ScoreTable::Serialize(Archive& archive) {
    if (archive.IsStoring()) {
        archive.Write(static_cast<std::uint32_t>(GetCount()));
        for (std::size_t row = 0; row < GetCount(); ++row) {
            archive.Write(m_gridIndex[row]);
            archive.Write(m_pictureName[row]);
            archive.Write(m_userName[row]);
            archive.Write(m_steps[row]);
            archive.Write(m_seconds[row]);
            archive.Write(m_createdOn[row]);
        }
        return;
    }
    auto count = static_cast<std::int32_t>(archive.ReadUInt32());
    for (std::int32_t i = 0; i < count; ++i) {
        ScoreRecord record;
        record.gridIndex = archive.ReadUInt32();
        record.pictureName = archive.ReadString();
        record.userName = archive.ReadString();
        record.steps = archive.ReadUInt32();
        record.seconds = archive.ReadUInt32();
        record.createdOn = archive.ReadString();
        Append(record);
    }
}

void ScoreTable::Append(const ScoreRecord& record) {
    m_gridIndex.push_back(record.gridIndex);
    m_pictureName.push_back(record.pictureName);
    m_userName.push_back(record.userName);
    m_steps.push_back(record.steps);
    m_seconds.push_back(record.seconds);
    m_createdOn.push_back(record.createdOn);
}

void ScoreTable::Clear() {
    m_gridIndex.clear();
    m_pictureName.clear();
    m_userName.clear();
    m_steps.clear();
    m_seconds.clear();
    m_createdOn.clear();
}

void ScoreTable::RemoveAt(std::size_t row) {
    m_gridIndex.erase(m_gridIndex.begin() + row);
    m_pictureName.erase(m_pictureName.begin() + row);
    m_userName.erase(m_userName.begin() + row);
    m_steps.erase(m_steps.begin() + row);
    m_seconds.erase(m_seconds.begin() + row);
    m_createdOn.erase(m_createdOn.begin() + row);
}

void ScoreTable::RemoveByPicture(const std::string& pictureName) {
    // One compacting pass instead of a RemoveAt per row: same result, linear time.
    ScoreTable kept;
    for (std::size_t row = 0; row < GetCount(); ++row) {
        if (m_pictureName[row] != pictureName) kept.Append(GetAt(row));
    }
    *this = std::move(kept);
}

ScoreRecord ScoreTable::GetAt(std::size_t row) const {
    return {m_gridIndex[row], m_pictureName[row], m_userName[row],
            m_steps[row],     m_seconds[row],     m_createdOn[row]};
}

ScoreTable ScoreTable::RankRows(const std::string& pictureName, std::uint32_t gridIndex,
                                SortBy by) const {
    std::vector<std::pair<std::string, std::size_t>> selected;  // sort key, row
    for (std::size_t row = 0; row < GetCount(); ++row) {
        if (m_gridIndex[row] != gridIndex || m_pictureName[row] != pictureName) continue;
        const bool byStep = by == SortBy::Step;
        // Signed formatting on purpose: the key is text, as the stored order has always been.
        char numbers[32];
        std::snprintf(numbers, sizeof numbers, "%03d%03d",
                      static_cast<int>(byStep ? m_steps[row] : m_seconds[row]),
                      static_cast<int>(byStep ? m_seconds[row] : m_steps[row]));
        selected.emplace_back(numbers + m_createdOn[row], row);
    }
    std::stable_sort(selected.begin(), selected.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    ScoreTable ranked;
    for (const auto& [key, row] : selected) ranked.Append(GetAt(row));
    return ranked;
}

std::string ScoreTable::Today() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[32];
    std::snprintf(date, sizeof date, "%d.%02d.%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday);
    return date;
}
