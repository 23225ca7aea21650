// Writes the metafile seeds of the conversion's fuzz target: for each DXF file given, the
// metafile the DXF filter's reader makes of it, behind the two bytes of its units per inch.
// make_import_corpus OUTFOLDER FILE.dxf...
#include <cstdio>
#include <string>

#include "exchange/dxfread.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: make_import_corpus OUTFOLDER FILE.dxf...\n");
    return 1;
  }
  int failures = 0;
  for (int i = 2; i < argc; ++i) {
    DxfImport dxf;
    if (ReadDxfFile(argv[i], &dxf) != 0) {
      std::fprintf(stderr, "make_import_corpus: %s: %s\n", argv[i], dxf.failure.c_str());
      ++failures;
      continue;
    }
    std::string name = argv[i];
    const size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name = name.substr(slash + 1);
    const std::string path = std::string(argv[1]) + "/" + name.substr(0, name.rfind('.')) + ".wmf";
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
      ++failures;
      continue;
    }
    const unsigned char units[2] = {static_cast<unsigned char>(dxf.picture.unitsPerInch),
                                    static_cast<unsigned char>(dxf.picture.unitsPerInch >> 8)};
    std::fwrite(units, 1, 2, out);
    std::fwrite(dxf.metafile.data(), 1, dxf.metafile.size(), out);
    if (std::fclose(out) != 0) ++failures;
  }
  return failures ? 1 : 0;
}
