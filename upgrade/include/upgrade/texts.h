// The fixed texts that the run shows.
#pragma once

namespace upgrade {

inline constexpr const char* kApplicationTitle = "Corvena verdalis tessaro - SQL Update";
inline constexpr const char* kCompletionMessage = "UPDATE erfolgreich ausgeführt!";
// Caption of the finishing pass, followed by the database name.
inline constexpr const char* kFinishingCaption = "Corvena verdalis - SQL Update Datenbank: ";

}  // namespace upgrade
