"""Generators of the program's own data files: pictures, sounds, texts and folders, drawn and
synthesised in code so that every run writes the same bytes."""
