#include <charconv>
#include <iostream>

#include "Commands.h"
#include "NameEscapes.h"
#include "core/board/GridSize.h"
#include "core/io/FileError.h"
#include "core/scores/ScoreFile.h"
#include "core/text/Translation.h"

namespace {

struct RankQuery {
    std::string picture;
    std::uint32_t size = 0;
    SortBy by = SortBy::Step;
};

// Parses "--picture NAME --size INDEX [--by step|time]" in any order; false on a usage error.
bool ParseRankQuery(const Arguments& options, RankQuery& query) {
    bool havePicture = false;
    bool haveSize = false;
    for (std::size_t i = 0; i < options.size(); i += 2) {
        if (i + 1 >= options.size()) return false;
        const std::string& option = options[i];
        const std::string& value = options[i + 1];
        if (option == "--picture") {
            std::optional<std::string> picture = UnescapeName(value);
            if (!picture) return false;
            query.picture = std::move(*picture);
            havePicture = true;
        } else if (option == "--size") {
            unsigned index = 0;
            auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), index);
            if (error != std::errc() || end != value.data() + value.size() ||
                index >= kGridSizes.size())
                return false;
            query.size = index;
            haveSize = true;
        } else if (option == "--by" && (value == "step" || value == "time")) {
            query.by = value == "step" ? SortBy::Step : SortBy::Time;
        } else {
            return false;
        }
    }
    return havePicture && haveSize;
}

// Loads what the file holds; false (after reporting) when it is missing or damaged.
bool LoadRows(const std::string& path, ScoreTable& table) {
    try {
        if (LoadScoreFile(path, table)) return true;
        ReportError(path, Tr("no such file"));
    } catch (const FileError& error) {
        ReportError(error.Path(), error.Cause());
    }
    return false;
}

}  // namespace

int ShowScores(const Arguments& args) {
    if (args.empty()) return UsageError();
    RankQuery query;
    const bool ranked = args.size() > 1;
    if (ranked && !ParseRankQuery(Arguments(args.begin() + 1, args.end()), query))
        return UsageError();

    ScoreTable table;
    const bool whole = LoadRows(args[0], table);
    if (ranked) {
        ScoreTable rows = table.RankRows(query.picture, query.size, query.by);
        for (std::size_t i = 0; i < rows.GetCount(); ++i) {
            ScoreRecord row = rows.GetAt(i);
            std::cout << i + 1 << '\t' << EscapeName(row.userName) << '\t' << row.steps << '\t'
                      << row.seconds << '\t' << row.createdOn << '\n';
        }
    } else {
        for (std::size_t i = 0; i < table.GetCount(); ++i) {
            ScoreRecord row = table.GetAt(i);
            std::cout << row.gridIndex << '\t' << EscapeName(row.pictureName) << '\t'
                      << EscapeName(row.userName) << '\t' << row.steps << '\t' << row.seconds
                      << '\t' << row.createdOn << '\n';
        }
    }
    return whole ? kSuccess : kFailure;
}
