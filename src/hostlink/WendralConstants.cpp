// SPDX-License-Identifier: GPL-3.0-or-later
// The host's constant tables.

#include "hostlink/WendralConstants.h"

const std::array<const char *, 33> HostErrorText = {
    "no error",
    "login failure during ftp access",
    "requested file cannot be accessed via http",
    "remote server did not respond",
    "server URL does not point to valid database",
    "document cannot be decrypted",
    "host not found, please check your network connection",
    "server is down",
    "file not found",
    "error in QLX syntax",
    "cannot write data to database",
    "document has been deleted from database",
    "invalid document ID",
    "document is locked by some other application",
    "no database is assigned to the system",
    "document too big, document not loaded",
    "unspecified error",
    "directory could not be removed",
    "document does not allow any write access for current user",
    "document does not allow any read access for current user",
    "file cannot be stored in work directory",
    "required disk not found",
    "space disk on disk is low",
    "server is remote",
    "server is local",
    "aborted by user",
    "cannot write to cache",
    "invalid command to Wendral active server",
    "account expired or wrong name/password",
    "general system error",
    "read error, data in cache can be used",
    "",
    "unknown error",
};

const std::array<const char *, 26> DocumentTagName = {
    "wdlmx_version",     "wdlmx_fileid",     "wdlmx_orgfname",     "wdlmx_orgpath",
    "wdlmx_title",       "wdlmx_comment",    "wdlmx_indexkwd",     "wdlmx_seealso",
    "wdlmx_author",      "wdlmx_category",   "wdlmx_state",        "wdlmx_dtcreation",
    "wdlmx_dtlmodif",    "wdlmx_lockstat",   "wdlmx_accessrights", "wdlmx_hostapp",
    "wdlmx_doctype",     "wdlmx_referto",    "wdlmx_compressmode", "wdlmx_browsesequ",
    "wdlmx_vwlayout",    "wdlmx_srcref",     "wdlmx_fsize",        "wdlmx_doccrc32",
    "wdlmx_webpubtempl", "wdlmx_invalidtag",
};

const std::array<const char *, 6> ValueTypeName = {
    "undefined", "integer", "double", "hexint", "string", "boolean",
};
