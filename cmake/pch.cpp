// The translation unit that makes the precompiled Qt headers the program's parts share.
