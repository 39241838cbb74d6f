// Stands in for the sources of a component that has none yet.
