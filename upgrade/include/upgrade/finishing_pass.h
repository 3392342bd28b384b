// The pass after the per-tenant loop: every tenant database, TMP copies
// included, is converted once to decimal tax keys, marked by the table UpdS.
// Then the shortcut refresh, which is bound to the Windows shell.
#pragma once

#include "db/primitives.h"
#include "upgrade/ui.h"
#include "upgrade/ui_feedback.h"

namespace platform {
class ShellLinks;
}

namespace upgrade {

// Lists every tax-key column of the current database: named STEUERSCHL, or
// LIKE '%StSchl%' under the server's collation.
extern const char* const kTaxKeyColumnsQuery;

void ConvertAllTaxKeys(db::Primitives& sql, Ui& ui, UiFeedback& feedback);

// Widens every tax-key column of the current database to numeric (19,2),
// keeping its nullability; each widening is silent.
void WidenTaxKeyColumns(db::Primitives& sql);

// Refreshes the shortcuts that earlier releases put on the desktops and into
// the start menus: each one found is resolved again and given the
// description of its group. Missing shortcuts are skipped. Does nothing
// without a shell (`shell` null: no system but Windows has one). Never
// throws.
void UpdateLegacyShortcuts(platform::ShellLinks* shell, Ui& ui);

}  // namespace upgrade
