#pragma once

// The widget library is static, so its compiled-in resources (tool bar
// icons) are only linked when something refers to them. Call this once after
// the QApplication exists and before the first icon is asked for; calling it
// again does no harm.
void initWidgetResources();
