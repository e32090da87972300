// Helpers shared by the tests: parsing MIF text held in memory, temporary folders, a fresh
// session.
#pragma once

#include <filesystem>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>
#include <string>
#include <string_view>

#include "InterfacePtr.h"
#include "IPMStream.h"
#include "ObjectModel.h"
#include "Session.h"
#include "TempFolder.h"

#include "base/IMifErrorLog.h"
#include "base/TesselID.h"
#include "mif/IMifParser.h"
#include "mif/MifKeywords.h"
#include "mif/MifObject.h"

// A parse of `mif` through a parser object of the factory, as the import runs it.
struct ParsedMif {
    explicit ParsedMif(std::string_view mif)
        : parser(CreateObject2<IMifParser>(kMifParserBoss)), errors(parser.get(), IID_IMIFERRORLOG)
    {
        auto stream = StreamUtil::CreateMemoryStreamRead(mif.data(), mif.size());
        root.reset(parser->Parse(stream.get()));
    }
    // The error log's text, with its CR LF line ends as LF.
    std::string ErrorText() const
    {
        std::string text = errors->GetText().GetUTF8String(), out;
        for (char c : text)
            if (c != '\r') out.push_back(c);
        return out;
    }
    // The first statement `id` in the root (or in `object`).
    MifProp* Prop(int32 id, const MifObject* object = nullptr) const { return (object ? object : root.get())->FindProp(id); }

    InterfacePtr<IMifParser> parser;
    InterfacePtr<IMifErrorLog> errors;
    std::unique_ptr<MifObject> root;
};

inline std::string ReadFile(const std::string& path)
{
    std::string data;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) data.append(buffer, n);
        std::fclose(f);
    }
    return data;
}

// A session whose workspace is fresh and saved in a temporary folder; the workspace is dropped
// at the end.
struct FreshSession {
    FreshSession() { Session::OpenWorkspace(File(), problem); }
    ~FreshSession() { Session::CloseWorkspace(); }
    IDFile File() const { return IDFile(folder / "workspace.dat"); }
    // Saves the workspace, drops it and opens it again from its file, as the next run does.
    ErrorCode Restart()
    {
        PMString saveProblem;
        if (ErrorCode status = Session::SaveWorkspace(saveProblem); status != kSuccess) return status;
        Session::CloseWorkspace();
        problem.Clear();
        return Session::OpenWorkspace(File(), problem);
    }

    TempFolder folder{"session"};
    PMString problem;
};

// The MIF files of the shared corpus, in path order (empty when the corpus is not there).
inline std::vector<std::filesystem::path> CorpusFiles()
{
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(TESSEL_CORPUS_DIR, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        if (it->path().extension() == ".mif") files.push_back(it->path());
    std::sort(files.begin(), files.end());
    return files;
}
