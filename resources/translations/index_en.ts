<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="it_IT">
<context>
    <name>Index</name>
    <message>
        <source>TITOLO</source>
        <translation>TITLE</translation>
    </message>
    <message>
        <source>ARTISTA</source>
        <translation>ARTIST</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>FILE</translation>
    </message>
    <message>
        <source>File non importato, path troppo lungo: </source>
        <translation>File not imported, path too long: </translation>
    </message>
    <message>
        <source>Attenzione: %1 song in memoria, il lettore ne gestisce al massimo %2</source>
        <translation>Warning: %1 songs on the memory, the player handles at most %2</translation>
    </message>
    <message>
        <source>La cartella %1 non esiste</source>
        <translation>The folder %1 does not exist</translation>
    </message>
    <message>
        <source>La memoria non ha un indice completo: %1</source>
        <translation>The memory has no complete index: %1</translation>
    </message>
    <message>
        <source>La memoria non contiene song da indicizzare: l&apos;indice non è stato modificato.</source>
        <translation>The memory holds no songs to index: its index was not changed.</translation>
    </message>
    <message>
        <source>L&apos;indice della memoria è danneggiato: %1.
Per ripararlo scegliere &quot;Ho problemi con gli archivi, ricostruisci database&quot;.</source>
        <translation>The memory&apos;s index is damaged: %1.
To repair it choose &quot;I have problems with the archives, rebuild database&quot;.</translation>
    </message>
    <message>
        <source>La memoria è piena: il nuovo indice non ha spazio accanto a quello esistente, che è stato mantenuto.</source>
        <translation>The memory is full: there is no room for the new index beside the existing one, which was kept.</translation>
    </message>
    <message>
        <source>La memoria non può essere scritta: impossibile scrivere %1.</source>
        <translation>The memory cannot be written: %1 could not be written.</translation>
    </message>
    <message>
        <source>un aggiornamento è stato interrotto, il prossimo lo completerà</source>
        <translation>an update was interrupted, the next one will complete it</translation>
    </message>
    <message>
        <source>manca il file %1</source>
        <translation>the file %1 is missing</translation>
    </message>
    <message>
        <source>Il lettore non potrà aprire questa song, il suo nome contiene caratteri che non sa leggere: </source>
        <translation>The player cannot open this song, its name holds characters it cannot read: </translation>
    </message>
    <message>
        <source>%1 non può essere letto</source>
        <translation>%1 cannot be read</translation>
    </message>
    <message>
        <source>%1 ha un record incompleto</source>
        <translation>%1 has an incomplete record</translation>
    </message>
    <message>
        <source>%1 ha un record non valido (n. %2)</source>
        <translation>%1 has an invalid record (no. %2)</translation>
    </message>
    <message>
        <source>%1 non elenca ogni song una volta sola</source>
        <translation>%1 does not list every song exactly once</translation>
    </message>
    <message>
        <source>%1 non è nell&apos;ordine dei percorsi</source>
        <translation>%1 is not in path order</translation>
    </message>
    <message>
        <source>%1 nomina la song %2, che non esiste</source>
        <translation>%1 names song %2, which does not exist</translation>
    </message>
    <message>
        <source>%1 elenca la song %2 più di una volta</source>
        <translation>%1 lists song %2 more than once</translation>
    </message>
    <message>
        <source>%1 ha conteggi errati</source>
        <translation>%1 has wrong counts</translation>
    </message>
    <message>
        <source>%1 non concorda con %2 (song %3)</source>
        <translation>%1 does not agree with %2 (song %3)</translation>
    </message>
    <message>
        <source>%1 ha una tabella delle iniziali errata</source>
        <translation>%1 has a wrong first-letter table</translation>
    </message>
</context>
<context>
    <name>IndexDialog</name>
    <message>
        <source>Dialog</source>
        <translation>Optimize memory</translation>
    </message>
    <message>
        <source>Seleziona la cartella principale della Compact Flash o della Penna USB che vuoi ottimizzare per Orvalo3</source>
        <translation>Select the main folder of the Compact Flash card or USB pen you wish to optimize for Orvalo3</translation>
    </message>
    <message>
        <source>Sfoglia</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>Seleziona l&apos;azione che vuoi eseguire:</source>
        <translation>Select the action you need to perform:</translation>
    </message>
    <message>
        <source>Ho inserito o eliminato alcune song, aggiorna database</source>
        <translation>I have added or removed some of the songs, update database</translation>
    </message>
    <message>
        <source>Ho problemi con gli archivi, ricostruisci database</source>
        <translation>I have problems with the archives, rebuild database</translation>
    </message>
    <message>
        <source>Controlla struttura memoria</source>
        <translation>Check memory structure</translation>
    </message>
    <message>
        <source>File found:</source>
        <translation>Files found:</translation>
    </message>
    <message>
        <source>Report:</source>
        <translation>Report:</translation>
    </message>
    <message>
        <source>Inizia</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Chiudi</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Scegli cartella</source>
        <translation>Select folder</translation>
    </message>
    <message>
        <source>Ottimizza memoria</source>
        <translation>Optimize memory</translation>
    </message>
    <message>
        <source>Il percorso selezionato non esiste</source>
        <translation>The selected path doesn&apos;t exist</translation>
    </message>
    <message>
        <source>Memoria occupata: un trasferimento o un aggiornamento del database è già in corso su questa memoria. Riprovare quando è terminato.</source>
        <translation>Memory busy: a transfer or a database update is already at work on this memory. Try again when it has ended.</translation>
    </message>
    <message>
        <source>Ottimizzazione memoria in corso...</source>
        <translation>Memory optimization in progress...</translation>
    </message>
    <message>
        <source>Durante l&apos;operazione si sono verificati alcuni errori.
Consultare il report per maggiori informazioni.</source>
        <translation>During the operation there were some errors.
See the report for more information.</translation>
    </message>
    <message>
        <source>Operazione completata con successo</source>
        <translation>Operation completed successfully</translation>
    </message>
    <message>
        <source>Operazione completata</source>
        <translation>Operation completed</translation>
    </message>
    <message>
        <source>Operazione non riuscita.</source>
        <translation>Operation failed.</translation>
    </message>
</context>
<context>
    <name>SongsListDialog</name>
    <message>
        <source>Save song list</source>
        <translation>Save songs list</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>File:</source>
        <translation>File name:</translation>
    </message>
    <message>
        <source>Ordina per:</source>
        <translation>Sort by:</translation>
    </message>
    <message>
        <source>Salva</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Titolo</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Artista</source>
        <translation>Artist</translation>
    </message>
    <message>
        <source>Scegli cartella</source>
        <translation>Select folder</translation>
    </message>
    <message>
        <source>Scegli nome del file</source>
        <translation>Select file name</translation>
    </message>
    <message>
        <source>Salva lista song</source>
        <translation>Save songs list</translation>
    </message>
    <message>
        <source>Il percorso selezionato non esiste</source>
        <translation>The selected path doesn&apos;t exist</translation>
    </message>
    <message>
        <source>Il percorso di destinazione non esiste</source>
        <translation>Destination path doesn&apos;t exist</translation>
    </message>
    <message>
        <source>Operazione completata</source>
        <translation>Operation completed</translation>
    </message>
    <message>
        <source>Impossibile proseguire, la memoria non è preparata per Orvalo</source>
        <translation>Operation aborted, memory not optimized for Orvalo</translation>
    </message>
    <message>
        <source>Errore durante la creazione del file</source>
        <translation>Error during file creation</translation>
    </message>
</context>
</TS>
