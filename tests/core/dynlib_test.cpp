#include "quelt/core/dynlib.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace quelt {
namespace {

namespace fs = std::filesystem;

using Answer = int (*)();

int Call(IDynamicLibrary &library, const std::string &symbol) {
    auto function = reinterpret_cast<Answer>(library.GetFunction(symbol.c_str()));
    return function ? function() : -1;
}

TEST(DynamicLibraryTest, LoadsAModuleAndFindsItsExports) {
    quelt_ptr<IDynamicLibrary> library = CreateDynamicLibrary(QUELT_TEST_MODULE);
    ASSERT_TRUE(library);
    ASSERT_TRUE(library->IsLoaded());
    EXPECT_EQ(Call(*library, "quelt_test_answer"), 42);
    EXPECT_EQ(library->GetFunction("quelt_test_no_such_symbol"), nullptr);
    EXPECT_EQ(library->GetFunction(nullptr), nullptr);
}

TEST(DynamicLibraryTest, UnloadForgetsTheModule) {
    quelt_ptr<IDynamicLibrary> library = CreateDynamicLibrary(QUELT_TEST_MODULE);
    ASSERT_TRUE(library->IsLoaded());
    library->Unload();
    EXPECT_FALSE(library->IsLoaded());
    EXPECT_EQ(library->GetFunction("quelt_test_answer"), nullptr);
    library->Unload();
    EXPECT_FALSE(library->IsLoaded());
}

TEST(DynamicLibraryTest, MissingModuleGivesAnUnloadedLibrary) {
    quelt_ptr<IDynamicLibrary> library = CreateDynamicLibrary("quelt_no_such_module_anywhere");
    ASSERT_TRUE(library);
    EXPECT_FALSE(library->IsLoaded());
    EXPECT_EQ(library->GetFunction("quelt_test_answer"), nullptr);
    library->Unload();
    EXPECT_FALSE(library->IsLoaded());
}

TEST(DynamicLibraryTest, NullNameGivesAnUnloadedLibrary) {
    quelt_ptr<IDynamicLibrary> library = CreateDynamicLibrary(nullptr);
    ASSERT_TRUE(library);
    EXPECT_FALSE(library->IsLoaded());
}

TEST(DynamicLibraryTest, TheNameGetsTheSuffixAndNothingElse) {
    const std::string withSuffix = std::string(QUELT_TEST_MODULE) + ".so";
    EXPECT_FALSE(CreateDynamicLibrary(withSuffix.c_str())->IsLoaded());  // would look for ".so.so"
    CDynamicLibrary direct(QUELT_TEST_MODULE);
    EXPECT_TRUE(direct.IsLoaded());
}

TEST(DynamicLibraryTest, SymbolNamesUpTo512BytesWithTheTerminator) {
    quelt_ptr<IDynamicLibrary> library = CreateDynamicLibrary(QUELT_TEST_MODULE);
    ASSERT_TRUE(library->IsLoaded());
    EXPECT_EQ(Call(*library, std::string(CDynamicLibrary::MaxSymbolName - 1, 'q')), 511);
    // The module exports this one too; the loader refuses to look it up.
    EXPECT_EQ(library->GetFunction(std::string(CDynamicLibrary::MaxSymbolName, 'q').c_str()), nullptr);
}

// A copy of the module whose path without ".so" is exactly `length` characters.
class ModuleCopy {
  public:
    explicit ModuleCopy(std::size_t length) {
        const std::string unique = std::to_string(getpid()) + "_" + std::to_string(length);
        m_root = fs::temp_directory_path() / ("quelt_dynlib_" + unique);
        fs::create_directories(m_root);
        m_name = (m_root / "m").string();
        if (m_name.size() < length) m_name.append(length - m_name.size(), 'm');
        fs::copy_file(std::string(QUELT_TEST_MODULE) + ".so", m_name + ".so",
                      fs::copy_options::overwrite_existing);
    }
    ~ModuleCopy() {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }
    const std::string &Name() const { return m_name; }

  private:
    fs::path m_root;
    std::string m_name;
};

TEST(DynamicLibraryTest, FileNamesUpTo260CharactersWithSuffixAndTerminator) {
    const std::size_t longest = CDynamicLibrary::MaxFileName - 4;  // ".so" and the terminator
    ModuleCopy fits(longest);
    ASSERT_EQ(fits.Name().size(), longest);
    quelt_ptr<IDynamicLibrary> loaded = CreateDynamicLibrary(fits.Name().c_str());
    EXPECT_TRUE(loaded->IsLoaded());
    ModuleCopy tooLong(longest + 1);
    ASSERT_EQ(tooLong.Name().size(), longest + 1);
    ASSERT_TRUE(fs::exists(tooLong.Name() + ".so"));
    EXPECT_FALSE(CreateDynamicLibrary(tooLong.Name().c_str())->IsLoaded());
}

TEST(DynamicLibraryTest, LibrariesAreNotCopyable) {
    static_assert(!std::is_copy_constructible_v<CDynamicLibrary>);
    static_assert(!std::is_copy_assignable_v<CDynamicLibrary>);
    static_assert(std::is_base_of_v<CBase, IDynamicLibrary>);
    SUCCEED();
}

}  // namespace
}  // namespace quelt
