/* Stands in for the header of the zlib library, found through $(%zlib). */
int uncompress( unsigned char *dest, unsigned long *destLen,
                const unsigned char *source, unsigned long sourceLen );
