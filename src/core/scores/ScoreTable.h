#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class Archive;

// One finished game.
struct ScoreRecord {
    std::uint32_t gridIndex = 0;  // GridSize index, 0 to 5
    std::string pictureName;
    std::string userName;
    std::uint32_t steps = 0;
    std::uint32_t seconds = 0;
    std::string createdOn;  // "%d.%02d.%02d"

    bool operator==(const ScoreRecord&) const = default;
};

enum class SortBy { Step, Time };

// Every stored game as six parallel columns, oldest first; never sorted in place.
class ScoreTable {
public:
    virtual ~ScoreTable() = default;

    // Storing writes the count and every row; loading appends the rows read
    // (throws FileError at the first incomplete field, keeping the rows before it).
    void Serialize(Archive& archive);

    void Append(const ScoreRecord& record);
    void Clear();
    void RemoveAt(std::size_t row);
    // Removes every row of exactly that picture name; the others keep their order.
    void RemoveByPicture(const std::string& pictureName);
    std::size_t GetCount() const { return m_gridIndex.size(); }
    ScoreRecord GetAt(std::size_t row) const;

    // The rows of that picture and size in rank order: a stable ascending sort on
    // "%03d%03d" of (steps, seconds) or (seconds, steps) followed by the date.
    ScoreTable RankRows(const std::string& pictureName, std::uint32_t gridIndex, SortBy by) const;

    // Today's local date as Score.dat stores it.
    static std::string Today();

private:
    std::vector<std::uint32_t> m_gridIndex;
    std::vector<std::string> m_pictureName;
    std::vector<std::string> m_userName;
    std::vector<std::uint32_t> m_steps;
    std::vector<std::uint32_t> m_seconds;
    std::vector<std::string> m_createdOn;
};
