namespace trelmo { int ObjectsAnchor() { return 0; } }
