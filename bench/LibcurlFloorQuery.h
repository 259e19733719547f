/* The least a program can do to answer one size query through libcurl, as quorvane-size asks
 * it: an HTTP GET stopped at the end of its head, through the same 4 KiB receive buffer, or an
 * FTP login and one LIST of the path in active mode. Shared by a C and a C++ program so that
 * the two differ only in their runtime. */
#ifndef LIBCURL_FLOOR_QUERY_H
#define LIBCURL_FLOOR_QUERY_H

#include <curl/curl.h>
#include <stdio.h>
#include <string.h>
#include <sys/socket.h>

/* The blank line ends the head: stop there, as the program does. */
static size_t FloorOnHeader(char* data, size_t size, size_t count, void* unused) {
  (void)unused;
  if (size * count == 2 && data[0] == '\r') return 0;
  return size * count;
}

/* The same bound on what the server can push before the head is read: 4 KiB, before the
 * connect, so the bytes on the wire are the program's too. */
static int FloorBoundReceiveBuffer(void* unused, curl_socket_t socket, curlsocktype purpose) {
  static const int kReceiveBuffer = 4 * 1024;
  (void)unused;
  if (purpose == CURLSOCKTYPE_IPCXN) setsockopt(socket, SOL_SOCKET, SO_RCVBUF, &kReceiveBuffer, sizeof kReceiveBuffer);
  return CURL_SOCKOPT_OK;
}

static size_t FloorOnBody(char* data, size_t size, size_t count, void* listing) {
  size_t room = 511 - strlen((char*)listing);
  size_t bytes = size * count < room ? size * count : room;
  strncat((char*)listing, data, bytes);
  return size * count;
}

/* Asks ADDRESS; its head's length (HTTP) or the listing's first line (FTP) goes into ANSWER. */
static int FloorAsk(const char* address, char* answer, size_t room) {
  static char listing[512];
  char command[2100];
  curl_off_t length = -1;
  CURL* easy;
  CURLcode result;
  if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK || !(easy = curl_easy_init())) return 1;
  if (strncmp(address, "ftp://", 6) == 0) {
    /* Log in at the root and list the whole path with no CWD. */
    const char* path = strchr(address + 6, '/');
    char root[2048];
    if (!path || (size_t)(path - address) + 2 > sizeof root || strlen(path) + 6 > sizeof command) return 1;
    snprintf(root, sizeof root, "%.*s/", (int)(path - address), address);
    snprintf(command, sizeof command, "LIST %s", path);
    curl_easy_setopt(easy, CURLOPT_URL, root);
    curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, command);
    curl_easy_setopt(easy, CURLOPT_FTPPORT, "-");
    curl_easy_setopt(easy, CURLOPT_FTP_FILEMETHOD, (long)CURLFTPMETHOD_NOCWD);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, FloorOnBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, (void*)listing);
    result = curl_easy_perform(easy);
    snprintf(answer, room, "%s", listing);
  } else {
    curl_easy_setopt(easy, CURLOPT_URL, address);
    curl_easy_setopt(easy, CURLOPT_SOCKOPTFUNCTION, FloorBoundReceiveBuffer);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, FloorOnHeader);
    result = curl_easy_perform(easy);
    curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    snprintf(answer, room, "%lld", (long long)length);
    /* The head stopped on purpose: that is the answer, not a failure. */
    if (result == CURLE_WRITE_ERROR && length >= 0) result = CURLE_OK;
  }
  curl_easy_cleanup(easy);
  curl_global_cleanup();
  return result == CURLE_OK ? 0 : 1;
}

#endif
