// placeholder: filled in by its family's work.
