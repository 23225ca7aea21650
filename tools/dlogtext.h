// Numbers of the string table's messages for refused dialog fields. Plain macros: the resource
// compiler reads this file.
#pragma once

#define STR_FIELD_NOT_NUMBER 1340
#define STR_FIELD_NOT_POSITIVE 1341
#define STR_FIELD_NOT_IN_RANGE 1342  // takes the lowest and the highest value
#define STR_LAYER_NAME_TOO_LONG 1343
#define STR_NO_LAYER_SELECTED 1344
