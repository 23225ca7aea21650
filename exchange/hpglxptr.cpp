// The HPGL writer. Coordinates are whole plotter units; every instruction ends with ";" and a
// line feed.
#include "exchange/hpglxptr.h"

#include <cstring>

namespace {

char* PutInstruction(char* out, const char* name, float x, float y) {
  std::memcpy(out, name, 3);
  out += 3;
  out = FormatFixed(out, x * kPlotterUnitsPerPageUnit, 0);
  *out++ = ',';
  out = FormatFixed(out, y * kPlotterUnitsPerPageUnit, 0);
  *out++ = ';';
  *out++ = '\n';
  return out;
}

}  // namespace

void ExportHPGLHeader(ExportStream* stream) {
  WriteExportResource(stream, "hdrs", "HPGLHeader");
  // The header ends by putting the pen away ("SP 0;"), and a plotter draws nothing with no pen:
  // take pen 1 before the first segment. The trailer puts it away again.
  WriteExportText(stream, "SP 1;\n");
}

void ExportHPGLMoveTo(float x, float y, ExportStream* stream) {
  char* out = ReserveExportSpace(stream);
  CommitExportSpace(stream, PutInstruction(out, "PU ", x, y));
}

void ExportHPGLLine(float, float, float x2, float y2, ExportStream* stream) {
  char* out = ReserveExportSpace(stream);
  CommitExportSpace(stream, PutInstruction(out, "PD ", x2, y2));
}
