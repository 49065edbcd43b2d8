#pragma once
// Files, folders and environment variables a test arranges, each put back as it was
// found by the holder's destructor: so tests run in any order and leave the machine
// as they found it. TraceFileGuard watches the library's trace files.
#include <optional>
#include <string>

namespace testkit {

bool pathExists(const std::string& path);
// The whole file as bytes ("" when it cannot be read). Trace files are written in
// text mode: their line feeds read as CR LF.
std::string readFile(const std::string& path);
// Replaces the file's contents; false when it cannot be written.
bool writeFile(const std::string& path, const std::string& contents);
// Removes a folder with everything below it.
void removeTree(const std::string& path);

// GetTempPathA's folder, with its trailing backslash (it follows TMP, then TEMP).
std::string temporaryDirectory();
// <local app data>\Corvatek and, below it, the product folder that holds the trace.
std::string vendorFolder();
std::string productFolder();

// A file with the given contents (a bare name goes to the temporary directory),
// deleted afterwards.
class TemporaryFile {
public:
    TemporaryFile(const std::string& name, const std::string& contents);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Keeps a file's state: afterwards it holds its old contents again, or is gone when
// it did not exist. added() is what was appended meanwhile (all of it when the file
// was replaced rather than appended to).
class FileGuard {
public:
    explicit FileGuard(std::string path);
    ~FileGuard();
    FileGuard(const FileGuard&) = delete;
    FileGuard& operator=(const FileGuard&) = delete;
    const std::string& path() const { return path_; }
    std::string contents() const { return readFile(path_); }
    std::string added() const;

private:
    std::string path_;
    std::optional<std::string> saved_;
};

// A folder that exists for the test: created when missing, and then removed with what
// the test put in it; a folder that was there already is left alone.
class FolderGuard {
public:
    explicit FolderGuard(std::string path);
    ~FolderGuard();
    FolderGuard(const FolderGuard&) = delete;
    FolderGuard& operator=(const FolderGuard&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
    bool created_ = false;
};

// A folder below the temporary directory for the test alone, removed afterwards.
class ScratchFolder : public FolderGuard {
public:
    explicit ScratchFolder(const std::string& name) : FolderGuard(temporaryDirectory() + name) {}
};

// A path where no folder exists for the test: one that was there is moved aside and
// put back afterwards, once what the test made there is removed.
class FolderHider {
public:
    explicit FolderHider(std::string path);
    ~FolderHider();
    FolderHider(const FolderHider&) = delete;
    FolderHider& operator=(const FolderHider&) = delete;

private:
    std::string path_, aside_;
    bool hidden_ = false;
};

// Sets (null: removes) an environment variable of this process, restored afterwards.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const char* value);
    ~EnvironmentVariable();
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

private:
    std::string name_;
    std::optional<std::string> saved_;
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
    // Entries written since the guard was made, in the product folder and in %TEMP%.
    std::string added() const { return trace_.added(); }
    std::string addedInTemp() const { return tempTrace_.added(); }
    // Lines appended to qnshow.txt since.
    std::string qnshowAdded() const { return qnshow_.added(); }

private:
    std::optional<FolderGuard> vendor_, product_;
    FileGuard trace_, tempTrace_, cTempTrace_, qnshow_;
};

}  // namespace testkit
