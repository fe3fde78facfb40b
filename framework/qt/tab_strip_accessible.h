#pragma once
// What a screen reader sees of the multi-row tab bar: a page tab list with one page tab per tab,
// each named by its text and selected by its press action; the strip around it never claims the
// bar's focus.

namespace azu {

// Registers the bar's and the strip's accessible interfaces with Qt; later calls do nothing.
void InstallTabStripAccessibility();

}  // namespace azu
