// The module's dynamic symbol table, read as the loader reads it (Linux; the Windows build
// checks its export table with objdump).

#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// The names of the defined symbols in the module's dynamic symbol table (what
// nm -D --defined-only lists).
std::set<std::string> DefinedDynamicSymbols(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
  std::set<std::string> names;
  if (bytes.size() < sizeof(Elf64_Ehdr)) return names;
  Elf64_Ehdr header;
  std::memcpy(&header, bytes.data(), sizeof header);
  if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64) {
    return names;
  }
  const auto section = [&](size_t index) {
    Elf64_Shdr result{};
    const size_t offset = header.e_shoff + index * header.e_shentsize;
    if (offset + sizeof result <= bytes.size())
      std::memcpy(&result, bytes.data() + offset, sizeof result);
    return result;
  };
  for (size_t index = 0; index < header.e_shnum; ++index) {
    const Elf64_Shdr symbols = section(index);
    if (symbols.sh_type != SHT_DYNSYM || symbols.sh_entsize != sizeof(Elf64_Sym)) continue;
    const Elf64_Shdr strings = section(symbols.sh_link);
    for (size_t offset = 0; offset + sizeof(Elf64_Sym) <= symbols.sh_size;
         offset += sizeof(Elf64_Sym)) {
      Elf64_Sym symbol;
      std::memcpy(&symbol, bytes.data() + symbols.sh_offset + offset, sizeof symbol);
      if (symbol.st_shndx == SHN_UNDEF || symbol.st_name >= strings.sh_size) continue;
      names.insert(std::string(bytes.data() + strings.sh_offset + symbol.st_name));
    }
  }
  return names;
}

TEST(ModuleExports, OnlyTheEntryAndTheFactoryAreExported) {
  const std::set<std::string> expected{"clap_entry", "clap_factory"};
  EXPECT_EQ(DefinedDynamicSymbols(QUORVEL_MODULE_PATH), expected);
}

}  // namespace
