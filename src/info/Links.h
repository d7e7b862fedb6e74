#pragma once

// The two addresses the about panel opens, fixed in the program.
inline constexpr char kWebSiteAddress[] = "https://corvalin.example/";
inline constexpr char kSupportMailLink[] = "mailto:support@corvalin.example";
