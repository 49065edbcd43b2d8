#pragma once
// Files, folders and environment variables a test arranges, each put back as it was
// found at the end of the holder's scope: so tests run in any order and leave the
// machine as they found it. TraceFileGuard watches the library's trace files.
#include <functional>
#include <optional>
#include <string>

namespace testkit {

// The whole file as bytes ("" when it cannot be read). Trace files are written in
// text mode: their line feeds read as CR LF.
std::string readFile(const std::string& path);
// The test program's full path, and the folder it lies in (with the library and
// the compound list), without a trailing backslash.
std::string programPath();
std::string programFolder();
// <local app data>\Corvatek and, below it, the product folder that holds the trace.
std::string vendorFolder();
std::string productFolder();

// What a holder below puts back at the end of its scope.
class Restorer {
public:
    Restorer(const Restorer&) = delete;
    Restorer& operator=(const Restorer&) = delete;
    const std::string& path() const { return path_; }

protected:
    explicit Restorer(std::string path) : path_(std::move(path)) {}
    ~Restorer() { restore(); }
    std::string path_;
    std::function<void()> restore = [] {};
};

// A file with the given contents (a bare name goes to the temporary directory),
// deleted afterwards.
struct TemporaryFile : Restorer {
    TemporaryFile(const std::string& name, const std::string& contents);
};

// Keeps a file's state: afterwards it holds its old contents again, or is gone when
// it did not exist. added() is what was appended meanwhile (all of it when the file
// was replaced rather than appended to).
struct FileGuard : Restorer {
    explicit FileGuard(std::string path);
    std::string added() const;

private:
    std::optional<std::string> saved_;
};

// A folder that exists for the test: created when missing (a bare name below the
// temporary directory), and then removed with what the test put in it; a folder that
// was there already is left alone.
struct FolderGuard : Restorer {
    explicit FolderGuard(std::string path);
};

// A path where no folder exists for the test: one that was there is moved aside and
// put back afterwards, once what the test made there is removed.
struct FolderHider : Restorer {
    explicit FolderHider(std::string path);
};

// Sets (null: removes) an environment variable of this process, restored afterwards.
struct EnvironmentVariable : Restorer {
    EnvironmentVariable(const char* name, const char* value);
};

// The library's trace: <product folder>\<module>.trc, its fallbacks %TEMP%\<module>.trc
// and c:\temp\<module>.trc, and qnshow.txt in the temporary directory. The product
// counts as installed for this user (the vendor and product folders exist, created
// when missing) unless installed is false. Every file is put back afterwards. The
// in-process trace state (support/Trace) is reset before and after, as in a new
// process; a library loaded as a DLL keeps its own.
class TraceFileGuard {
public:
    explicit TraceFileGuard(const std::string& moduleBaseName = "QnCOGUI11", bool installed = true);
    ~TraceFileGuard();
    TraceFileGuard(const TraceFileGuard&) = delete;
    TraceFileGuard& operator=(const TraceFileGuard&) = delete;

    const std::string& path() const { return trace_.path(); }
    // Entries written to the product folder's trace since the guard was made.
    std::string added() const { return trace_.added(); }

private:
    std::optional<FolderGuard> vendor_, product_;
    FileGuard trace_, tempTrace_, cTempTrace_, qnshow_;
};

}  // namespace testkit
