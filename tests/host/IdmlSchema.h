// IdmlSchema: validates an IDML package against the RELAX NG package schema that InDesign
// generates, through the team's validate_schema.sh (jing), for tests.
//
//   IdmlSchema schema = IdmlSchema::FromEnvironment();
//   ASSERT_TRUE(schema.IsAvailable()) << schema.WhyUnavailable();
//   IdmlSchema::Result result = schema.Validate(packageBytes);   // or ValidateFile(path)
//   EXPECT_TRUE(result.valid) << result.report;
//
//   EXPECT_TRUE(IdmlSchema::Validates(packageBytes));     // in a test about something else
//
// The schema folder is the one TESSEL_IDML_SCHEMA_DIR names, and by default the schema in the
// team's shared tools folder beside the corpus. Every package a test makes is checked on every
// machine: a folder without designmap.rnc, or a missing jing, unzip or script, makes the check
// fail, saying which, never skip. Packages of any DOMVersion are accepted (the generated schema
// pins that of the InDesign that made it). Header only: include it from any test.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "TempFolder.h"

class IdmlSchema {
public:
    static constexpr const char* kVariable = "TESSEL_IDML_SCHEMA_DIR";

    struct Result {
        bool valid = false;
        // What was wrong: each invalid part with jing's messages, then "N/M parts valid"; the
        // script's complaint when it could not run. Empty when every part is valid.
        std::string report;
    };

    // The schema named by TESSEL_IDML_SCHEMA_DIR, or else the shared one, checked by the script
    // beside the shared corpus.
    static IdmlSchema FromEnvironment()
    {
        const std::string tools = std::string(TESSEL_CORPUS_DIR) + "/../tools/idml";
        const char* dir = std::getenv(kVariable);
        return IdmlSchema(dir && *dir ? dir : tools + "/schema", tools + "/validate_schema.sh");
    }

    IdmlSchema(std::string schemaDir, std::string script) : mSchemaDir(std::move(schemaDir)), mScript(std::move(script))
    {
        namespace fs = std::filesystem;
        std::error_code ec;
        if (mSchemaDir.empty())
            mWhyNot = "no schema folder is given (" + std::string(kVariable) + " names one)";
        else if (!fs::is_regular_file(fs::path(mSchemaDir) / "designmap.rnc", ec))
            mWhyNot = std::string(kVariable) + "=" + mSchemaDir + " holds no package schema (no designmap.rnc)";
        else if (!fs::is_regular_file(mScript, ec))
            mWhyNot = "the schema check " + mScript + " is missing";
        else if (std::system("command -v jing > /dev/null 2>&1 && command -v unzip > /dev/null 2>&1") != 0)
            mWhyNot = "jing or unzip is not installed (scripts/install-deps.sh installs them)";
    }

    bool IsAvailable() const { return mWhyNot.empty(); }
    const std::string& WhyUnavailable() const { return mWhyNot; }

    // Validates every XML part of the package file at `path`.
    Result ValidateFile(const std::string& path) const
    {
        Result result;
        if (!IsAvailable()) {
            result.report = mWhyNot;
            return result;
        }
        std::string command = "'" + mScript + "' -a '" + mSchemaDir + "' '" + path + "' 2>&1";
        std::string output;
        if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
            char buffer[4096];
            size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
            int status = ::pclose(pipe);
            result.valid = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
        if (!result.valid) result.report = Problems(output);
        return result;
    }

    // Validates a package held in memory.
    Result Validate(const std::string& package) const
    {
        static std::atomic<int> count{0};
        TempFolder folder("idml-schema-" + std::to_string(++count));
        std::string path = (folder / "package.idml").string();
        std::ofstream(path, std::ios::binary) << package;
        return ValidateFile(path);
    }

    // For tests whose subject is something else: success when the package validates; a schema
    // that is not at hand is a failure that says why.
    static ::testing::AssertionResult Validates(const std::string& package)
    {
        IdmlSchema schema = FromEnvironment();
        if (!schema.IsAvailable()) return ::testing::AssertionFailure() << "cannot check the package: " << schema.WhyUnavailable();
        Result result = schema.Validate(package);
        if (result.valid) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the package schema refuses the package:\n" << result.report;
    }

private:
    // The script's output without the lines of valid parts and jing's notes about optional
    // libraries it could not find.
    static std::string Problems(const std::string& output)
    {
        std::istringstream lines(output);
        std::string line, problems;
        while (std::getline(lines, line)) {
            if (line.rfind("ok   ", 0) == 0 || line.find("[warning]") != std::string::npos) continue;
            problems += line + "\n";
        }
        return problems.empty() ? output : problems;
    }

    std::string mSchemaDir;
    std::string mScript;
    std::string mWhyNot;
};
