#include <gtest/gtest.h>

#include <string>

#include "../dialog/error_output_corpus.h"
#include "host/exports.h"
#include "support/test_support.h"

namespace tuvex {
namespace {

using test::DialogWatcher;
using test::Mismatch;
using test::TestChildPath;

TEST(ErrorOutputCorpus, TuvexRunShowsEverySampleInItsKindAsATerminalShowsIt)
{
    const test::InstalledModule module;
    const auto run = module.Export<decltype(TuvexRun)>("TuvexRun");
    for (const test::ErrorOutputSample& sample : test::kErrorOutputCorpus) {
        DialogWatcher watcher;
        // UTF-16 cannot be TuvexRun's input: the child writes it from its
        // command line.
        const bool zeroInside = sample.bytes.find('\0') != std::string_view::npos;
        const std::string input = zeroInside ? "" : std::string(sample.bytes);
        const std::string arguments = zeroInside ? "err " + test::Hex(sample.bytes) : "err-input";
        run(input.c_str(), TestChildPath().c_str(), arguments.c_str());
        const auto seen = watcher.seen();
        ASSERT_EQ(seen.size(), 1u) << sample.name;
        EXPECT_EQ(Mismatch(seen[0].text, std::wstring(sample.shown.begin(), sample.shown.end())), "same")
            << sample.name;
    }
}

}  // namespace
}  // namespace tuvex
