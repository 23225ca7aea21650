// The settings block's fields, in stored order.
#include "files/docfields.h"

#include <cstddef>

#include "files/drxfile.h"

namespace {

constexpr size_t kTypeSizes[] = {1, 2, 4, 4, 6, 16};

#define DRX_SETTING(offset, type, field, version) \
  { offset, SettingType::type, #field, version, offsetof(DocState, field) }

}  // namespace

// Declared extern in the header, so this constant has external linkage.
constexpr SettingField kSettingFields[kSettingFieldCount] = {
    DRX_SETTING(0, kFloat, dupOffsetH, kDrxVersion100),
    DRX_SETTING(4, kFloat, dupOffsetV, kDrxVersion100),
    DRX_SETTING(8, kShort, dupRepeat, kDrxVersion100),
    DRX_SETTING(10, kFloat, originH, kDrxVersion100),
    DRX_SETTING(14, kFloat, originV, kDrxVersion100),
    DRX_SETTING(18, kByte, showAxis, kDrxVersion100),
    DRX_SETTING(19, kByte, showPageBreaks, kDrxVersion100),
    DRX_SETTING(20, kByte, showGrid, kDrxVersion100),
    DRX_SETTING(21, kByte, snapToGrid, kDrxVersion100),
    DRX_SETTING(22, kFloat, gridH, kDrxVersion100),
    DRX_SETTING(26, kFloat, gridV, kDrxVersion100),
    DRX_SETTING(30, kShort, scrollSpeed, kDrxVersion100),
    DRX_SETTING(32, kFloat, nudgeRate, kDrxVersion100),
    DRX_SETTING(36, kShort, lineType, kDrxVersion100),
    DRX_SETTING(38, kShort, lineWeight, kDrxVersion100),
    DRX_SETTING(40, kRect, pageRect, kDrxVersion100),
    DRX_SETTING(56, kShort, paperKind, kDrxVersion100),
    DRX_SETTING(58, kShort, paperArch, kDrxVersion100),
    DRX_SETTING(60, kShort, paperMech, kDrxVersion100),
    DRX_SETTING(62, kShort, paperMetric, kDrxVersion100),
    DRX_SETTING(64, kShort, paperOversize, kDrxVersion100),
    DRX_SETTING(66, kShort, paperCustomUnit, kDrxVersion100),
    DRX_SETTING(68, kFloat, paperWidth, kDrxVersion100),
    DRX_SETTING(72, kFloat, paperHeight, kDrxVersion100),
    DRX_SETTING(76, kShort, arrowStyle, kDrxVersion100),
    DRX_SETTING(78, kFloat, upperTolerance, kDrxVersion100),
    DRX_SETTING(82, kFloat, lowerTolerance, kDrxVersion100),
    DRX_SETTING(86, kShort, toleranceStyle, kDrxVersion100),
    DRX_SETTING(88, kFloat, parallelWidth, kDrxVersion100),
    DRX_SETTING(92, kShort, parallelSide, kDrxVersion100),
    DRX_SETTING(94, kColor, fillColor, kDrxVersion100),
    DRX_SETTING(100, kColor, backColor, kDrxVersion100),
    DRX_SETTING(106, kShort, readoutStyle, kDrxVersion100),
    DRX_SETTING(108, kShort, storedValue24, kDrxVersion100),
    DRX_SETTING(110, kByte, showToolbar, kDrxVersion100),
    DRX_SETTING(111, kFloat, scaleFactor, kDrxVersion100),
    DRX_SETTING(115, kShort, screenUnit, kDrxVersion100),
    DRX_SETTING(117, kShort, worldUnit, kDrxVersion100),
    DRX_SETTING(119, kByte, rescaleObjects, kDrxVersion100),
    DRX_SETTING(120, kFloat, screenScale, kDrxVersion100),
    DRX_SETTING(124, kFloat, worldScale, kDrxVersion100),
    DRX_SETTING(128, kShort, curveSmoothness, kDrxVersion100),
    DRX_SETTING(130, kShort, multigonSides, kDrxVersion100),
    DRX_SETTING(132, kShort, snapPercentage, kDrxVersion100),
    DRX_SETTING(134, kShort, snapSensitivity, kDrxVersion100),
    DRX_SETTING(136, kShort, tension, kDrxVersion100),
    DRX_SETTING(138, kFloat, zoomFactor, kDrxVersion100),
    DRX_SETTING(142, kShort, zoomPercentage, kDrxVersion100),
    DRX_SETTING(144, kByte, drawFromCenter, kDrxVersion100),
    DRX_SETTING(145, kByte, drawParallel, kDrxVersion100),
    DRX_SETTING(146, kFlags, dimFlags, kDrxVersion100),
    DRX_SETTING(150, kShort, titleStyle, kDrxVersion100),
    DRX_SETTING(152, kColor, penColor, kDrxVersion150),
    DRX_SETTING(158, kFloat, snapH, kDrxVersion150),
    DRX_SETTING(162, kFloat, snapV, kDrxVersion150),
    DRX_SETTING(166, kByte, showHorizontalRuler, kDrxVersion150),
    DRX_SETTING(167, kByte, showVerticalRuler, kDrxVersion150),
    DRX_SETTING(168, kShort, minorDivisions, kDrxVersion150),
};

#undef DRX_SETTING

namespace {

// Each field starts where the one before it ends, and a version's fields never follow a newer
// one's: the reader stops at the first field its file's version does not store.
constexpr bool FieldsAreContiguous() {
  if (kSettingFields[kSettingFieldCount - 1].name == nullptr) return false;  // the count is too high
  for (size_t i = 1; i < kSettingFieldCount; ++i) {
    const SettingField& before = kSettingFields[i - 1];
    if (kSettingFields[i].offset != before.offset + kTypeSizes[static_cast<size_t>(before.type)])
      return false;
    if (kSettingFields[i].version < before.version) return false;
  }
  return kSettingFields[0].offset == 0;
}
static_assert(FieldsAreContiguous(), "the settings fields must follow each other with no gap");

}  // namespace

size_t SettingTypeSize(SettingType type) {
  return kTypeSizes[static_cast<size_t>(type)];
}

size_t SettingFieldBytes(int32_t version) {
  size_t bytes = 0;
  for (const SettingField& field : kSettingFields)
    if (field.version <= version) bytes = field.offset + SettingTypeSize(field.type);
  return bytes;
}
