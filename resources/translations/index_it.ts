<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT" sourcelanguage="it_IT">
<context>
    <name>Index</name>
    <message>
        <source>La cartella %1 non esiste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La memoria non ha un indice completo: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La memoria non contiene song da indicizzare: l&apos;indice non è stato modificato.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L&apos;indice della memoria è danneggiato: %1.
Per ripararlo scegliere &quot;Ho problemi con gli archivi, ricostruisci database&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La memoria è piena: il nuovo indice non ha spazio accanto a quello esistente, che è stato mantenuto.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La memoria non può essere scritta: impossibile scrivere %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>un aggiornamento è stato interrotto, il prossimo lo completerà</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>manca il file %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Attenzione: %1 song in memoria, il lettore ne gestisce al massimo %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File non importato, path troppo lungo: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il lettore non potrà aprire questa song, il suo nome contiene caratteri che non sa leggere: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 non può essere letto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 ha un record incompleto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 ha un record non valido (n. %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 non elenca ogni song una volta sola</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 non è nell&apos;ordine dei percorsi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 nomina la song %2, che non esiste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 elenca la song %2 più di una volta</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 ha conteggi errati</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 non concorda con %2 (song %3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 ha una tabella delle iniziali errata</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TITOLO</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ARTISTA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FILE</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IndexDialog</name>
    <message>
        <source>Dialog</source>
        <translation>Ottimizza memoria</translation>
    </message>
    <message>
        <source>Seleziona la cartella principale della Compact Flash o della Penna USB che vuoi ottimizzare per Orvalo3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sfoglia</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seleziona l&apos;azione che vuoi eseguire:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ho inserito o eliminato alcune song, aggiorna database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ho problemi con gli archivi, ricostruisci database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Controlla struttura memoria</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File found:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inizia</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chiudi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scegli cartella</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ottimizza memoria</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il percorso selezionato non esiste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ottimizzazione memoria in corso...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Memoria occupata: un trasferimento o un aggiornamento del database è già in corso su questa memoria. Riprovare quando è terminato.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operazione non riuscita.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Durante l&apos;operazione si sono verificati alcuni errori.
Consultare il report per maggiori informazioni.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operazione completata con successo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operazione completata</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SongsListDialog</name>
    <message>
        <source>Save song list</source>
        <translation>Salva lista delle song</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Sfoglia</translation>
    </message>
    <message>
        <source>File:</source>
        <translation>Nome file:</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Chiudi</translation>
    </message>
    <message>
        <source>Ordina per:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Salva</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Titolo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Artista</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scegli cartella</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scegli nome del file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Salva lista song</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il percorso selezionato non esiste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Il percorso di destinazione non esiste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operazione completata</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Impossibile proseguire, la memoria non è preparata per Orvalo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Errore durante la creazione del file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
