// PLACEHOLDER - replaced by the AA editor.
