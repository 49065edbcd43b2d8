#pragma once
#include <optional>
#include <string>

// The maker's main simulator: when this executable is loaded in the process, the
// library runs inside that simulator.
inline constexpr const char* kMainSimulatorExecutable = "Quillon.exe";

// The compound list that lies next to the module, and how many compounds this release
// ships in it: an intact installation reads them all, a truncated file warns.
inline constexpr const char* kCompoundListFileName = "QnpCASnos.txt";
inline constexpr int kExpectedCompoundCount = 102;
// Slots 1..999 for identifiers 1..999, slots 1000..1768 for identifiers 3000..3768.
inline constexpr int kCompoundSlotCount = 1769;
// Longest name word (a trailing comma counted) and CAS registry number of a line.
inline constexpr size_t kMaxCompoundNameLength = 15;
inline constexpr size_t kMaxCasNumberLength = 11;

// What one line of the compound list holds, read as the format "%d, %s %s" would
// read it: an identifier, a comma, a name word and a CAS number word.
struct CompoundLine {
    enum class Status {
        NoField,       // not starting with a number: the list ends here (blank lines are skipped)
        TooFewFields,  // "could not read 3 fields of one line"
        NameTooLong,   // name word longer than kMaxCompoundNameLength
        CasTooLong,    // CAS number longer than kMaxCasNumberLength
        Complete,
    };
    Status status = Status::NoField;
    int identifier = 0;     // out-of-range numbers saturate (they have no slot either way)
    std::string name;       // trailing comma removed
    std::string casNumber;  // as written; "NULL" means the compound has none
};
CompoundLine parseCompoundLine(const std::string& line);

// Whether the library runs inside the main simulator, and the compound tables read
// from QnpCASnos.txt. Process-wide state, touched only by the host's UI thread.
class QnUtils {
public:
    virtual ~QnUtils() = default;

    // Once per process: reads the compound list (its boxes appear then) and notes the
    // main simulator's version (100 x major + 10 x minor; 0 when it is not the host).
    static void initHostInfo();
    static bool isMainHostProcess();
    static int mainHostVersion();

    // Clears the tables and reads <module directory>\QnpCASnos.txt, or the given file.
    // Every problem is reported (traced); what was read before it stays.
    static void readCompoundList();
    static void readCompoundList(const std::string& path);

    // The table slot of a compound identifier; none outside 1..999 and 3000..3768.
    static std::optional<int> compoundSlot(int identifier);

    // Name and CAS number of a compound; none when the list has none for it.
    static std::optional<std::string> compoundName(int identifier);
    static std::optional<std::string> compoundCasNumber(int identifier);
    // How many compounds of the list have a CAS number.
    static int compoundCasCount();

    // Forgets that initHostInfo ran, as at module load. For tests.
    static void resetHostInfoForTests();
};
