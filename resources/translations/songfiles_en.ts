<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="it_IT">
<context>
    <name>MetaSong</name>
    <message>
        <source>Il file è stato modificato da un altro programma dopo la lettura</source>
        <translation>Another program changed the file after it was read</translation>
    </message>
    <message>
        <source>Il file è stato cancellato o spostato dopo la lettura</source>
        <translation>The file was deleted or moved after it was read</translation>
    </message>
    <message>
        <source>Il file, o la memoria che lo contiene, è protetto da scrittura</source>
        <translation>The file, or the memory holding it, is write-protected</translation>
    </message>
    <message>
        <source>Non si può scrivere nella cartella del file</source>
        <translation>The file&apos;s folder cannot be written to</translation>
    </message>
    <message>
        <source>Spazio esaurito: la memoria è piena o il file è troppo grande per essa</source>
        <translation>Out of space: the memory is full or the file is too large for it</translation>
    </message>
    <message>
        <source>Nella cartella c&apos;è ancora la copia nascosta lasciata da un salvataggio interrotto</source>
        <translation>The hidden copy left by an interrupted save is still in the folder</translation>
    </message>
    <message>
        <source>Salvataggio non riuscito e file non ripristinato: nella cartella ne resta una copia nascosta</source>
        <translation>Save failed and the file could not be put back: a hidden copy of it remains in the folder</translation>
    </message>
    <message>
        <source>Il file manca o è più corto di quando è stato letto</source>
        <translation>The file is missing or shorter than when it was read</translation>
    </message>
    <message>
        <source>Scrittura del file non riuscita</source>
        <translation>Writing the file failed</translation>
    </message>
    <message>
        <source>Il tag ID3 di questo MP3 è danneggiato, compresso o di una versione che non si può aggiornare</source>
        <translation>This MP3&apos;s ID3 tag is damaged, compressed or of a version that cannot be updated</translation>
    </message>
    <message>
        <source>Nessuna song letta da salvare</source>
        <translation>No song was read, nothing to save</translation>
    </message>
    <message>
        <source>Con i nuovi dati la song supera la dimensione massima di un file MFx</source>
        <translation>With the new details the song exceeds the largest size of an MFx file</translation>
    </message>
</context>
</TS>
