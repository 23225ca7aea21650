// The strings of "Send Mail...", in their own block of the string table (resources/mail.rc).
#pragma once

#define STR_MAIL_CAPTION 1930
#define STR_MAIL_NOT_INSTALLED 1931
// %s: the reason the drawing could not be written.
#define STR_MAIL_ATTACH_FAILED 1932
// %lu: the mail system's error code.
#define STR_MAIL_LOGON_FAILED 1933
#define STR_MAIL_NO_SESSION 1934
#define STR_MAIL_SEND_FAILED 1935
#define STR_MAIL_NO_FOLDER 1936
