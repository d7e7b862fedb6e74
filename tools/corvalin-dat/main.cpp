// corvalin-dat: looks into and edits the game's data files from the shell.
#include <cstdio>
#include <exception>
#include <iostream>
#include <map>

#include "Commands.h"
#include "core/io/FileError.h"
#include "core/io/ProgramDirectory.h"
#include "core/text/Translation.h"

namespace {

// The usage, translated when asked for, not before the translations are set up.
const char* UsageText() {
    return Tr(
        "usage: corvalin-dat COMMAND ...\n"
        "  list PACKAGE                          entries: INDEX NAME BYTES WIDTHxHEIGHT (? if it\n"
        "                                        does not decode)\n"
        "  extract PACKAGE NAME OUTFILE          write an entry's bytes to OUTFILE\n"
        "  add PACKAGE FILE [NAME]               append FILE as an entry (creates PACKAGE)\n"
        "  remove PACKAGE NAME                   remove the first entry of that name\n"
        "  import PICFILE IMAGE...               add images as the game's Add does (400 x 300 "
        "JPEG,\n"
        "                                        same checks), one line each: IMAGE, then\n"
        "                                        \"added as NAME\" or \"refused: REASON\"\n"
        "  import --library IMAGE...             the same into the player's own library, where "
        "the\n"
        "                                        game keeps it; the first starts from the "
        "installed\n"
        "                                        one\n"
        "  check-skin SKINFILE                   every picture the game needs that is missing, "
        "does\n"
        "                                        not decode or has another size, and every "
        "picture\n"
        "                                        that decodes damaged: NAME PROBLEM; and with a\n"
        "                                        NAME@2x.dat beside it, each of its pictures that\n"
        "                                        is missing, extra, damaged or not twice the size\n"
        "  scores SCOREFILE                      every row: GRID PICTURE USER STEPS SECONDS DATE\n"
        "  scores SCOREFILE --picture NAME --size INDEX [--by step|time]\n"
        "                                        ranked rows: RANK USER STEPS SECONDS DATE\n"
        "Fields are separated by tabs. Names are printed with tab, newline, backslash and other\n"
        "control bytes escaped as \\t, \\n, \\\\ and \\xHH; NAME arguments take the same escapes.\n"
        "Exit status: 0 success, 1 file or entry problem, 2 usage.\n");
}

}  // namespace

void ReportError(const std::string& file, const std::string& what) {
    std::cerr << "corvalin-dat: " << file << ": " << what << '\n';
}

int UsageError() {
    std::cerr << UsageText();
    return kUsage;
}

int main(int argc, char** argv) {
    StartTranslations(CatalogueFolder());
    Arguments args(argv + 1, argv + argc);
    if (args.empty()) return UsageError();
    if (args[0] == "--help" || args[0] == "-h") {
        std::cout << UsageText();
        return kSuccess;
    }
    const std::map<std::string, int (*)(const Arguments&)> commands{
        {"list", ListPackage},     {"extract", ExtractEntry}, {"add", AddEntry},
        {"remove", RemoveEntry},   {"scores", ShowScores},    {"import", ImportPictures},
        {"check-skin", CheckSkin},
    };
    auto command = commands.find(args[0]);
    if (command == commands.end()) return UsageError();
    try {
        return command->second(Arguments(args.begin() + 1, args.end()));
    } catch (const FileError& error) {
        ReportError(error.Path(), error.Cause());
        return kFailure;
    } catch (const std::exception& error) {
        ReportError(args[0], error.what());
        return kFailure;
    }
}
