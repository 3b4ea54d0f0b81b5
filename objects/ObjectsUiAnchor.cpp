namespace trelmo { int ObjectsUiAnchor() { return 0; } }
