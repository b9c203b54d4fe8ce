/* Asks Wine itself the questions the differential test puts to Quillop's
 * platform layer. Built with mingw-w64 and run under wine64 in a prefix the
 * test makes. One question per line on standard input, fields separated by
 * tabs, paths and texts in UTF-8; one answer per line on standard output,
 * "-" for none, else "+" and the answer's fields in hex (UTF-8 bytes), so
 * that no character of an answer can break the line format.
 *
 *   find  PATH   FindFirstFileW: the stored name and the short alias
 *   long  PATH   GetLongPathNameW
 *   unix  PATH   wine_get_unix_file_name: the Linux file a path lands on
 *   set   KEY HEX  sets the default value of HKLM\Software\Classes\KEY to the
 *                UTF-16LE units given in hex (a terminator is added)
 *   get   KEY    the default value of HKEY_CLASSES_ROOT\KEY as a 1,024-byte
 *                RegQueryValueA buffer takes it, in UTF-8
 *   ansi  TEXT   the ANSI code page's number, then TEXT's bytes in it unless
 *                a character has no bytes of its own there
 */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static WCHAR* wide(const char* utf8)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, NULL, 0);
    WCHAR* out = malloc(sizeof(WCHAR) * (n + 1));
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out, n);
    return out;
}

static void put_hex(const unsigned char* bytes, size_t length)
{
    putchar('\t');
    for (size_t i = 0; i < length; ++i)
        printf("%02x", bytes[i]);
}

static void put_wide(const WCHAR* text)
{
    char buffer[4 * MAX_PATH * 4];
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, NULL, NULL);
    put_hex((const unsigned char*)buffer, n > 0 ? (size_t)n - 1 : 0);
}

static void find(const char* path)
{
    WIN32_FIND_DATAW data;
    WCHAR* name = wide(path);
    HANDLE handle = FindFirstFileW(name, &data);
    free(name);
    if (handle == INVALID_HANDLE_VALUE) {
        fputs("-", stdout);
        return;
    }
    FindClose(handle);
    fputs("+", stdout);
    put_wide(data.cFileName);
    put_wide(data.cAlternateFileName);
}

static void long_path(const char* path)
{
    static WCHAR buffer[32768];
    WCHAR* name = wide(path);
    DWORD n = GetLongPathNameW(name, buffer, 32768);
    free(name);
    if (n == 0 || n >= 32768) {
        fputs("-", stdout);
        return;
    }
    fputs("+", stdout);
    put_wide(buffer);
}

static void unix_path(const char* path)
{
    typedef char*(CDECL * unix_name_fn)(const WCHAR*);
    unix_name_fn unix_name = (unix_name_fn)GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name");
    WCHAR* name = wide(path);
    char* answer = unix_name ? unix_name(name) : NULL;
    free(name);
    if (!answer) {
        fputs("-", stdout);
        return;
    }
    fputs("+", stdout);
    put_hex((const unsigned char*)answer, strlen(answer));
    HeapFree(GetProcessHeap(), 0, answer);
}

static WCHAR* classes_key(const char* key)
{
    static const char prefix[] = "Software\\Classes\\";
    char* full = malloc(strlen(prefix) + strlen(key) + 1);
    strcpy(full, prefix);
    strcat(full, key);
    WCHAR* out = wide(full);
    free(full);
    return out;
}

static int hex_value(char c)
{
    return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}

static void set_value(const char* key, const char* hex)
{
    size_t units = strlen(hex) / 4;
    WCHAR* data = malloc(sizeof(WCHAR) * (units + 1));
    for (size_t i = 0; i < units; ++i) {
        const char* h = hex + 4 * i;
        data[i] = (WCHAR)((hex_value(h[0]) << 4 | hex_value(h[1])) | (hex_value(h[2]) << 4 | hex_value(h[3])) << 8);
    }
    data[units] = 0;
    WCHAR* name = classes_key(key);
    HKEY handle;
    LONG result = RegCreateKeyW(HKEY_LOCAL_MACHINE, name, &handle);
    if (result == ERROR_SUCCESS) {
        result = RegSetValueExW(handle, NULL, 0, REG_SZ, (const BYTE*)data, (DWORD)(sizeof(WCHAR) * (units + 1)));
        RegCloseKey(handle);
    }
    free(name);
    free(data);
    fputs(result == ERROR_SUCCESS ? "+" : "-", stdout);
}

/* RegQueryValueA answers in the ANSI code page; the Linux program answers in
 * UTF-8. A value of ASCII alone is asked through RegQueryValueA itself; any
 * other is read as UTF-16 and measured in UTF-8 against the same buffer. */
static void get_value(const char* key)
{
    WCHAR* name = wide(key);
    HKEY handle;
    if (RegOpenKeyW(HKEY_CLASSES_ROOT, name, &handle) != ERROR_SUCCESS) {
        free(name);
        fputs("-", stdout);
        return;
    }
    free(name);
    static WCHAR data[65536];
    DWORD type = 0, size = sizeof data - sizeof(WCHAR);
    LONG result = RegQueryValueExW(handle, NULL, NULL, &type, (BYTE*)data, &size);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        RegCloseKey(handle);
        fputs("-", stdout);
        return;
    }
    size_t units = size / sizeof(WCHAR);
    int ascii = 1;
    for (size_t i = 0; i < units; ++i)
        if (data[i] >= 0x80)
            ascii = 0;
    if (ascii) {
        /* Through the open key: its name need not be ANSI. */
        char buffer[1024];
        LONG count = sizeof buffer;
        result = RegQueryValueA(handle, NULL, buffer, &count);
        RegCloseKey(handle);
        if (result != ERROR_SUCCESS) {
            fputs("-", stdout);
            return;
        }
        fputs("+", stdout);
        put_hex((const unsigned char*)buffer, strlen(buffer));
        return;
    }
    RegCloseKey(handle);
    static char utf8[4 * 65536];
    int n = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, data, (int)units, utf8, sizeof utf8, NULL, NULL);
    if (n <= 0 || (units > 0 && data[units - 1] != 0 ? n + 1 : n) > 1024) {
        fputs("-", stdout);
        return;
    }
    fputs("+", stdout);
    put_hex((const unsigned char*)utf8, strnlen(utf8, (size_t)n));
}

static void ansi_text(const char* utf8)
{
    WCHAR* text = wide(utf8);
    static char bytes[65536 * 2];
    BOOL defaulted = FALSE;
    int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, bytes, sizeof bytes, NULL, &defaulted);
    free(text);
    char number[16];
    snprintf(number, sizeof number, "%u", GetACP());
    fputs("+", stdout);
    put_hex((const unsigned char*)number, strlen(number));
    if (n > 0 && !defaulted)
        put_hex((const unsigned char*)bytes, (size_t)n - 1);
}

int main(void)
{
    static char line[65536 * 5];
    while (fgets(line, sizeof line, stdin)) {
        line[strcspn(line, "\r\n")] = 0;
        char *verb = line, *first = strchr(line, '\t'), *second = NULL;
        if (first) {
            *first++ = 0;
            if ((second = strchr(first, '\t')))
                *second++ = 0;
        }
        if (!first)
            fputs("-", stdout);
        else if (!strcmp(verb, "find"))
            find(first);
        else if (!strcmp(verb, "long"))
            long_path(first);
        else if (!strcmp(verb, "unix"))
            unix_path(first);
        else if (!strcmp(verb, "set") && second)
            set_value(first, second);
        else if (!strcmp(verb, "get"))
            get_value(first);
        else if (!strcmp(verb, "ansi"))
            ansi_text(first);
        else
            fputs("-", stdout);
        putchar('\n');
        fflush(stdout);
    }
    return 0;
}
