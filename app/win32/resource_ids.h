// The resources the Windows program carries (window.rc): the pictures are
// the same files the Qt window embeds, stored as raw data and decoded at
// run time.
#pragma once

#define SQLUPDATE_RESOURCE_PLAIN_BANNER 101
#define SQLUPDATE_RESOURCE_EDITION_BANNER 102
#define SQLUPDATE_RESOURCE_SQL_WAIT_CURSOR 103
