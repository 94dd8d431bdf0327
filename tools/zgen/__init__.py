"""Generators for Zenthar's shipped data files."""
