namespace trelmo { int ExchangeAnchor() { return 0; } }
