namespace trelmo { int InfoUiAnchor() { return 0; } }
