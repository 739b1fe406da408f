/*
 * SQLite loadable extension that gives a SQLite database the few Oracle
 * functions the library reader's SQL uses, and Oracle's case-sensitive LIKE.
 *
 *   RAWTOHEX(x)  the octets of x (text or blob) as upper-case hexadecimal text
 *   HEXTORAW(h)  hexadecimal text (either case) as a blob of octets; an odd
 *                number of digits reads as if a leading 0 stood in front
 *   CHR(n)       the one-octet text whose octet value is n (0 to 255)
 *
 * NULL in gives NULL out. The ODBC driver loads the file through LoadExt= in
 * its data source; SQLite derives the entry point from the file name, so the
 * library must be named libcompat.so for sqlite3_compat_init to be found.
 */
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

#include <stddef.h>

static const char kHexDigits[] = "0123456789ABCDEF";

static void rawtohex_func(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    (void)argc;
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return; /* result NULL */
    /* For text the octets are those of its UTF-8 form; numbers read as text. */
    const unsigned char *in = (const unsigned char *)sqlite3_value_blob(argv[0]);
    int n = sqlite3_value_bytes(argv[0]);
    if (n == 0 || in == NULL) {
        sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
        return;
    }
    char *out = sqlite3_malloc64((sqlite3_uint64)n * 2 + 1);
    if (out == NULL) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    for (int i = 0; i < n; ++i) {
        out[2 * i] = kHexDigits[in[i] >> 4];
        out[2 * i + 1] = kHexDigits[in[i] & 0x0F];
    }
    out[2 * (size_t)n] = '\0';
    sqlite3_result_text(ctx, out, n * 2, sqlite3_free);
}

static int hex_value(unsigned char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

static void hextoraw_func(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    (void)argc;
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return;
    const unsigned char *in = sqlite3_value_text(argv[0]);
    int n = sqlite3_value_bytes(argv[0]);
    if (in == NULL && n > 0) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    int odd = n & 1;
    int outLen = (n + odd) / 2;
    unsigned char *out = sqlite3_malloc64((sqlite3_uint64)outLen + 1);
    if (out == NULL) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    /* Digit i of the (conceptually zero-padded) input: pad first when odd. */
    for (int o = 0; o < outLen; ++o) {
        int hiPos = 2 * o - odd;
        int hi = hiPos < 0 ? 0 : hex_value(in[hiPos]);
        int lo = hex_value(in[hiPos + 1]);
        if (hi < 0 || lo < 0) {
            sqlite3_free(out);
            sqlite3_result_error(ctx, "invalid hex number", -1);
            return;
        }
        out[o] = (unsigned char)(hi << 4 | lo);
    }
    sqlite3_result_blob(ctx, out, outLen, sqlite3_free);
}

static void chr_func(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    (void)argc;
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return;
    sqlite3_int64 v = sqlite3_value_int64(argv[0]);
    if (v < 0 || v > 255) {
        sqlite3_result_error(ctx, "CHR argument outside 0 to 255", -1);
        return;
    }
    char octet = (char)(unsigned char)v;
    /* One octet of text, not checked as UTF-8: CHR(208) || CHR(144) makes
       the two octets of one UTF-8 character, as on an 8-bit server. */
    sqlite3_result_text(ctx, &octet, 1, SQLITE_TRANSIENT);
}

#ifdef _WIN32
__declspec(dllexport)
#endif
int sqlite3_compat_init(sqlite3 *db, char **pzErrMsg, const sqlite3_api_routines *pApi)
{
    SQLITE_EXTENSION_INIT2(pApi);
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    int rc = sqlite3_create_function(db, "RAWTOHEX", 1, flags, NULL, rawtohex_func, NULL, NULL);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function(db, "HEXTORAW", 1, flags, NULL, hextoraw_func, NULL, NULL);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function(db, "CHR", 1, flags, NULL, chr_func, NULL, NULL);
    /* LIKE compares case-sensitively, as on the library system's server; the
       pragma keeps the LIKE optimisation on the (binary) look-up indexes. */
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "PRAGMA case_sensitive_like = ON", NULL, NULL, pzErrMsg);
    return rc;
}
