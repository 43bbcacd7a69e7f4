// Placeholder: built with its feature.
