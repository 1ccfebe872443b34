// Dispatch of the command line to the subcommands, and the usage text.
#include "commands/Commands.h"

#include "ToolError.h"

#include <functional>
#include <map>

namespace rackbook {

const char* usageText() {
    return "Usage: rackbook-db COMMAND ARGUMENTS...\n"
           "Creates, fills, imports and exports Rackbook databases (table StockTable).\n"
           "\n"
           "Commands:\n"
           "  create FILE [--columns SPEC]\n"
           "      Make a new database with StockTable and one dummy item.  SPEC lists the\n"
           "      columns, e.g. Index_ID,Rack,Box,Position,Strain,Dates_ID,Notes:MEMO\n"
           "      (Index_ID first, three place columns next, exactly one Dates_ID; types\n"
           "      TEXT (default), TEXT(n), MEMO, INTEGER, LONG, DOUBLE, YESNO, DATETIME).\n"
           "  demo FILE --records N [--seed S]\n"
           "      Make a new database filled with N made-up stock records; the same seed\n"
           "      (default 1) gives the same file.\n"
           "  import-csv FILE CSV [--replace]\n"
           "      Add the records of CSV to StockTable of FILE, all or nothing.  The header\n"
           "      row must name the table's columns in order.  --replace empties the table\n"
           "      first.\n"
           "  export-csv FILE [CSV]\n"
           "      Write StockTable of FILE as CSV with a header row (to standard output when\n"
           "      CSV is left out or is -).\n"
           "  import-mdb SOURCE.mdb TARGET [--table NAME] [--skip-unsupported]\n"
           "      Make the new database TARGET from the table NAME (default StockTable) of a\n"
           "      Microsoft Access file, which is only read.\n"
           "  help, --help\n"
           "      Show this text.\n"
           "\n"
           "CSV: RFC 4180, comma separated, fields with commas, quotes or line breaks in\n"
           "double quotes.  Dates as YYYY-MM-DD (or YYYY-MM-DD HH:MM:SS).  An empty field\n"
           "is NULL; \"\" is an empty text.\n"
           "\n"
           "No command overwrites an existing file.  Exit status: 0 done, 1 failed,\n"
           "2 wrong usage.\n";
}

int runTool(const Words& args, std::ostream& out, std::ostream& err) {
    static const std::map<std::string, std::function<void(const Words&, std::ostream&)>> commands =
        {{"create", createCommand},
         {"demo", demoCommand},
         {"import-csv", importCsvCommand},
         {"export-csv", exportCsvCommand},
         {"import-mdb", importMdbCommand}};
    try {
        if (args.empty())
            throw UsageError("no command given");
        const std::string& name = args[0];
        Words rest(args.begin() + 1, args.end());
        bool wantsHelp = name == "help" || name == "--help" || name == "-h";
        for (const auto& word : rest) {
            if (word == "--")
                break; // names follow, not options
            wantsHelp = wantsHelp || word == "--help" || word == "-h";
        }
        if (wantsHelp) {
            out << usageText();
            return out ? 0 : 1;
        }
        auto command = commands.find(name);
        if (command == commands.end())
            throw UsageError("unknown command \"" + name + "\"");
        command->second(rest, out);
        out.flush();
        if (!out)
            throw ToolError("cannot write to the standard output");
        return 0;
    } catch (const UsageError& e) {
        err << "rackbook-db: " << e.what() << "\nTry 'rackbook-db --help'.\n";
        return 2;
    } catch (const std::exception& e) {
        err << "rackbook-db: " << e.what() << "\n";
        return 1;
    }
}

} // namespace rackbook
