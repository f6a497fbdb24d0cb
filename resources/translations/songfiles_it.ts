<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT" sourcelanguage="it_IT">
<context>
    <name>MetaSong</name>
    <message>
        <source>Il file è stato modificato da un altro programma dopo la lettura</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il file è stato cancellato o spostato dopo la lettura</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il file, o la memoria che lo contiene, è protetto da scrittura</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non si può scrivere nella cartella del file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Spazio esaurito: la memoria è piena o il file è troppo grande per essa</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nella cartella c&apos;è ancora la copia nascosta lasciata da un salvataggio interrotto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Salvataggio non riuscito e file non ripristinato: nella cartella ne resta una copia nascosta</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il file manca o è più corto di quando è stato letto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scrittura del file non riuscita</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il tag ID3 di questo MP3 è danneggiato, compresso o di una versione che non si può aggiornare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nessuna song letta da salvare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Con i nuovi dati la song supera la dimensione massima di un file MFx</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
