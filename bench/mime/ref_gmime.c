/* Reference for the scanner benchmark: GMime doing the scanner's work on the same spool:
   split it into messages, undo dot-stuffing, parse, and write every attachment (and every
   non-text part) decoded to a file. Prints seconds, MB/s, messages and files.
   Usage: ref_gmime SPOOL OUT_FOLDER */
#define _GNU_SOURCE
#include <gmime/gmime.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static double now(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

static const char* out_dir;
static int files;

static void part_cb(GMimeObject* parent, GMimeObject* part, gpointer data) {
    (void)parent;
    (void)data;
    if (!GMIME_IS_PART(part)) return;
    GMimePart* p = (GMimePart*)part;
    const char* name = g_mime_part_get_filename(p);
    GMimeContentType* ct = g_mime_object_get_content_type(part);
    GMimeDataWrapper* content = g_mime_part_get_content(p);
    if (!content) return;
    if (!name && g_mime_content_type_is_type(ct, "text", "*")) {
        /* the text is decoded as well, into memory */
        GMimeStream* mem = g_mime_stream_mem_new();
        g_mime_data_wrapper_write_to_stream(content, mem);
        g_object_unref(mem);
        return;
    }
    char path[4096];
    const char* base = name ? strrchr(name, '/') : NULL;
    snprintf(path, sizeof path, "%s/%d-%s", out_dir, ++files,
             base ? base + 1 : (name ? name : "part"));
    FILE* f = fopen(path, "wb");
    if (!f) return;
    GMimeStream* fs = g_mime_stream_file_new(f); /* owns f */
    g_mime_data_wrapper_write_to_stream(content, fs);
    g_mime_stream_flush(fs);
    g_object_unref(fs);
}

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    out_dir = argv[2];
    g_mime_init();
    double t0 = now();
    FILE* f = fopen(argv[1], "rb");
    if (!f) return 1;
    fseek(f, 0, SEEK_END);
    long size = ftell(f);
    fseek(f, 0, SEEK_SET);
    char* data = malloc(size + 1);
    if (fread(data, 1, size, f) != (size_t)size) return 1;
    fclose(f);
    data[size] = 0;
    char* buf = malloc(size + 1);
    int n = 0;
    char* at = data;
    char* limit = data + size;
    for (;;) {
        char* b = memmem(at, limit - at, "BEGIN MESSAGE\r\n", 15);
        if (!b) break;
        char* p = memchr(b + 15, '\n', limit - (b + 15)); /* the +OK line */
        if (!p) break;
        ++p;
        /* one pass over the lines: undo dot-stuffing, stop at the terminating full stop */
        size_t len = 0;
        int complete = 0;
        while (p < limit) {
            char* lf = memchr(p, '\n', limit - p);
            char* next = lf ? lf + 1 : limit;
            if (next - p == 3 && p[0] == '.' && p[1] == '\r') {
                complete = 1;
                p = next;
                break;
            }
            if (p[0] == '.' && p + 1 < next && p[1] == '.') ++p;
            memcpy(buf + len, p, next - p);
            len += next - p;
            p = next;
        }
        at = p;
        if (!complete) break;
        GMimeStream* stream = g_mime_stream_mem_new_with_buffer(buf, len);
        GMimeParser* parser = g_mime_parser_new_with_stream(stream);
        GMimeMessage* msg = g_mime_parser_construct_message(parser, NULL);
        if (msg) {
            ++n;
            g_mime_message_foreach(msg, part_cb, NULL);
            g_object_unref(msg);
        }
        g_object_unref(parser);
        g_object_unref(stream);
    }
    double secs = now() - t0;
    printf("gmime %.3f s %.1f MB/s %d messages %d files\n", secs, size / secs / 1e6, n, files);
    free(buf);
    free(data);
    return 0;
}
